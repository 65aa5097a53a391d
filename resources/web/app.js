// The browser side of the remote views: one event stream of view commands from the server, each
// handed to the module of its view interface; the learner's actions go back as events. The
// browser holds no rule: it shows what it is told and reports what the learner did.
import * as navigation from './navigation_view.js';
import * as page from './page_view.js';
import * as pager from './pager_view.js';
import * as bars from './practice_bars_view.js';
import * as clock from './clock_view.js';
import * as dialog from './dialog_view.js';
import * as tip from './tip_view.js';
import * as busy from './busy_view.js';
import * as fields from './field_view.js';
import * as buttons from './button_view.js';
import * as rows from './row_list_view.js';
import * as chooser from './list_chooser_view.js';
import * as progress from './progress_dialog_view.js';
import * as summary from './summary_view.js';
import * as awake from './keep_awake.js';
import * as labels from './label_view.js';
import * as switches from './switch_view.js';
import * as tabs from './tab_view.js';
import * as date from './date_picker_view.js';
import * as keyboard from './keyboard.js';
import { session } from './session.js';

const handlers = {
  hello(m) {
    session.tab = m.tab;
    session.pageBase = m.pageBase;
    session.pageOrigin = new URL(m.pageBase).origin;
    navigation.reset();
  },
  screen: navigation.command,
  page: page.command,
  pager: pager.command,
  bars: bars.command,
  clock: clock.command,
  dialog: dialog.command,
  tip: tip.command,
  busy: busy.command,
  field: fields.command,
  button: buttons.command,
  rows: rows.command,
  label: labels.command,
  switch: switches.command,
  tabs: tabs.command,
  date: date.command,
  choose: chooser.command,
  progress: progress.command,
  summary: summary.command,
  member: summary.member,
  menu: summary.menu,
  url(m) { window.open(m.url, '_blank', 'noopener,noreferrer'); },
  awake: awake.command,
  exit() {
    navigation.reset();
    const done = document.createElement('p');
    done.className = 'goodbye';
    done.textContent = '已退出。关闭此页面即可。';
    document.getElementById('app').append(done);
  },
};

function open() {
  const stream = new EventSource('events');
  stream.onmessage = (e) => {
    let message;
    try { message = JSON.parse(e.data); } catch { return; }
    const handler = handlers[message.c];
    if (handler) handler(message);
  };
}

keyboard.install();
open();
