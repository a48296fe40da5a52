// Who the served dialogs answer, and what a page that goes away leaves behind.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const { chromium } = require('playwright-core');
const { makeWorkspace, serve, launchBrowser } = require('./harness');

test('only the printed address with its token and a loopback Host is answered', async (t) => {
  const workspace = makeWorkspace();
  const host = await serve(workspace, ['--idle-timeout', '60']);
  // A name that resolves to the loopback address, as a rebinding attacker's name would.
  const browser = await chromium.launch({
    executablePath: process.env.VEK_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--host-resolver-rules=MAP rebind.test 127.0.0.1'],
  });
  t.after(async () => {
    await browser.close();
    host.child.kill('SIGTERM');
    workspace.cleanup();
  });
  const page = await browser.newPage();
  const base = `http://127.0.0.1:${host.port}`;

  assert.strictEqual((await page.goto(`${base}/`)).status(), 403);
  assert.strictEqual((await page.goto(`${base}/?token=${'0'.repeat(32)}`)).status(), 403);
  assert.strictEqual((await page.goto(`${base}/app.js`)).status(), 403);
  assert.strictEqual((await page.goto(`http://rebind.test:${host.port}/?token=${host.token}`)).status(), 403);
  assert.strictEqual((await page.goto(`http://localhost:${host.port}/?token=${host.token}`)).status(), 200);

  const api = await page.context().request;
  const forged = await api.get(`${base}/state?token=${host.token}`, { headers: { Host: `evil.example:${host.port}` } });
  assert.strictEqual(forged.status(), 403);
  const input = await api.post(`${base}/input`, { data: { events: [] } }); // token in no place
  assert.strictEqual(input.status(), 403);

  // The page itself loads its script and state with the token it was opened with.
  const response = await page.goto(host.url);
  assert.strictEqual(response.status(), 200);
  await page.waitForSelector('body[data-phase="running"]');
});

test('Escape in the page cancels: the file stays byte for byte, the page says so', async (t) => {
  const workspace = makeWorkspace();
  const before = fs.readFileSync(workspace.rules);
  const host = await serve(workspace, ['--idle-timeout', '60']);
  const browser = await launchBrowser();
  t.after(async () => {
    await browser.close();
    workspace.cleanup();
  });
  const page = await browser.newPage();
  await page.goto(host.url);
  await page.waitForSelector('body[data-phase="running"]');
  await page.keyboard.press('Escape');
  await page.waitForSelector('body[data-phase="ended"]');
  assert.match(await page.textContent('#status'), /unchanged, file left as it was/);
  const result = await host.exited;
  assert.strictEqual(result.code, 0, result.stderr);
  assert.deepStrictEqual(fs.readFileSync(workspace.rules), before);
});

test('an open page keeps the dialog; once it is closed the idle timeout cancels', async (t) => {
  const workspace = makeWorkspace();
  const before = fs.readFileSync(workspace.rules);
  // The browser and its page first: starting them can take longer than the timeout.
  const browser = await launchBrowser();
  const page = await browser.newPage();
  const host = await serve(workspace, ['--idle-timeout', '4']);
  t.after(async () => {
    await browser.close();
    workspace.cleanup();
  });
  let ended = false;
  host.exited.then(() => { ended = true; });
  await page.goto(host.url);
  await page.waitForSelector('body[data-phase="running"]');
  // Longer than the idle timeout: the page's waiting requests keep the session alive.
  await new Promise((resolve) => setTimeout(resolve, 6000));
  assert.strictEqual(ended, false, 'the host gave up on an open page');
  await page.close();
  const result = await host.exited;
  assert.strictEqual(result.code, 0, result.stderr);
  assert.match(result.stdout, /unchanged, file left as it was/);
  assert.match(result.stderr, /cancelled/);
  assert.deepStrictEqual(fs.readFileSync(workspace.rules), before);
});
