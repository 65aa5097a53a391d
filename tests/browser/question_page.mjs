// Loads built question pages in headless Chromium and checks that the page's own script reports
// the learner's taps as "ios://" navigations and takes the answer feedback.
//
// Usage: node question_page.mjs PAGE_FIXTURE OUTPUT_DIR
// Exits 77 (skipped) when playwright-core is not installed here (run `npm ci` in this folder).
import { execFileSync } from 'node:child_process';
import { mkdirSync, readFileSync } from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

import { launchChromium } from './chromium.mjs';

const [fixture, outDir] = process.argv.slice(2);
if (!fixture || !outDir) {
  console.error('usage: node question_page.mjs PAGE_FIXTURE OUTPUT_DIR');
  process.exit(2);
}
mkdirSync(outDir, { recursive: true });
execFileSync(fixture, [outDir], { stdio: 'inherit' });

const { context, close } = await launchChromium();

const results = [];
async function check(name, body) {
  const page = await context.newPage();
  try {
    await body(page);
    results.push([name, null]);
  } catch (error) {
    results.push([name, error]);
  } finally {
    await page.close();
  }
}

function assert(condition, message) {
  if (!condition) throw new Error(message);
}

function open(page, file) {
  return page.goto(pathToFileURL(path.join(outDir, file)).href);
}

// The page leaves through a navigation to "ios://…", which the browser then aborts; the request
// is what the web view would intercept.
function nextLink(page) {
  return page.waitForRequest((r) => r.url().startsWith('ios://'), { timeout: 5000 })
    .then((r) => decodeURIComponent(r.url()));
}

try {
  await check('multiple choice: ticking A, B and D then 确认 answers ABD', async (page) => {
    await open(page, 'multiple.html');
    // Nothing ticked: the page asks for a choice and does not navigate.
    const links = [];
    page.on('request', (r) => { if (r.url().startsWith('ios://')) links.push(r.url()); });
    const alerts = [];
    page.once('dialog', (d) => { alerts.push(d.message()); d.dismiss(); });
    await page.click('#btnsumitanswer');
    assert(alerts.join() === '请选择答案', `alerts were "${alerts}"`);
    assert(links.length === 0, `navigated without a choice: ${links}`);

    for (const i of [0, 1, 3]) await page.click(`label[for=answeritem_${i}]`);
    const link = nextLink(page);
    await page.click('#btnsumitanswer');
    assert((await link) === 'ios://doAnswer/ABD', `link was ${await link}`);
    const state = await page.evaluate(() => ({
      disabled: [0, 1, 2, 3].map((i) => document.getElementById(`answeritem_${i}`).disabled),
      button: document.getElementById('btnsumitanswer').style.display,
    }));
    assert(state.disabled.every(Boolean), `controls not locked: ${state.disabled}`);
    assert(state.button === 'none', `确认 still shown: ${state.button}`);
  });

  await check('single choice: a tap on an option answers with its letter', async (page) => {
    await open(page, 'single.html');
    const link = nextLink(page);
    await page.click('label[for=answeritem_2]');
    assert((await link) === 'ios://doAnswer/C', `link was ${await link}`);
  });

  await check('feedback script fills the answer area', async (page) => {
    await open(page, 'single.html');
    const before = await page.textContent('#spananswer');
    assert(!before.includes('正确答案'), 'answer shown before answering');
    await page.evaluate(readFileSync(path.join(outDir, 'feedback.js'), 'utf8'));
    const text = await page.textContent('#spananswer');
    for (const part of ['您的答案:C', '(答对了)', '正确答案:C', '答案解析:', '《会计法》"第三条"',
                        '第二行\\说明', '重新答题']) {
      assert(text.includes(part), `answer area lacks ${part}: ${text}`);
    }
  });

  await check('重新答题 answers with nothing and unlocks the controls', async (page) => {
    await open(page, 'answered.html');
    const checked = await page.evaluate(() => document.getElementById('answeritem_1').checked);
    assert(checked, 'the stored answer B is not ticked');
    const link = nextLink(page);
    await page.click('text=重新答题');
    assert((await link) === 'ios://doAnswer/', `link was ${await link}`);
    const state = await page.evaluate(() => [0, 1, 2, 3].map((i) => {
      const c = document.getElementById(`answeritem_${i}`);
      return c.disabled || c.checked;
    }));
    assert(!state.some(Boolean), `controls still locked or ticked: ${state}`);
  });

  await check('a note is shown as text, its markup never runs', async (page) => {
    await open(page, 'answered.html');
    const ran = await page.evaluate(() => window.__noteRan);
    assert(ran === undefined, 'markup of a note ran');
    const text = await page.textContent('#spananswer');
    assert(text.includes('<img src=x onerror="window.__noteRan=1">记住'), `note text: ${text}`);
    const link = nextLink(page);
    await page.click('text=修改');
    assert((await link) === 'ios://editmynote/17', `link was ${await link}`);
  });

  await check('a typed answer is sent when the field changes', async (page) => {
    await open(page, 'text.html');
    const link = nextLink(page);
    await page.fill('#answeritem_0', '1月1日');
    await page.press('#answeritem_0', 'Tab');
    assert((await link) === 'ios://doAnswer/1月1日', `link was ${await link}`);
  });
} finally {
  await close();
}

let failed = 0;
for (const [name, error] of results) {
  if (error) {
    failed += 1;
    console.log(`FAIL ${name}\n     ${error.message.split('\n')[0]}`);
  } else {
    console.log(`ok   ${name}`);
  }
}
console.log(`${results.length - failed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
