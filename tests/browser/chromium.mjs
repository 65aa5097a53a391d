// Debian's Chromium, headless, under Playwright with a profile of its own, as both browser tests
// drive it. A machine without playwright-core installed here skips the test (exit 77).
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';

let chromium;
try {
  ({ chromium } = await import('playwright-core'));
} catch {
  console.log('playwright-core is not installed: run npm ci in tests/browser');
  process.exit(77);
}

// The browser context, and close() that ends it and removes its profile.
export async function launchChromium(options = {}) {
  const userDataDir = mkdtempSync(path.join(tmpdir(), 'examora-chromium-'));
  const context = await chromium.launchPersistentContext(userDataDir, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    ...options,
  });
  const close = async () => {
    await context.close();
    rmSync(userDataDir, { recursive: true, force: true });
  };
  return { context, close };
}
