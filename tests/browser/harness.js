// What every browser test needs: vekhost configure --serve started on a rule file of the
// test's own (with a material database of its own), Debian's Chromium started headless with a
// fresh profile, and waits on what the page shows.
'use strict';

const { chromium } = require('playwright-core');
const { spawn, execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');

const binDir = process.env.VEK_BIN_DIR || path.resolve(__dirname, '../../build/bin');
const vekhost = path.join(binDir, 'vekhost');
const chromiumPath = process.env.VEK_CHROMIUM || '/usr/bin/chromium';

// A folder of the test's own with a new rule file; removed by cleanup().
function makeWorkspace() {
  const dir = fs.mkdtempSync(path.join(process.env.TMPDIR || os.tmpdir(), 'vek-browser-'));
  const env = { ...process.env, VEK_UI_LANGUAGE: 'en-US', VEK_MATERIAL_DB: path.join(dir, 'materials.db') };
  const rules = path.join(dir, 'rules.xml');
  execFileSync(vekhost, ['new', '-o', rules], { env, stdio: 'ignore' });
  return {
    dir,
    env,
    rules,
    run(args) {
      return execFileSync(vekhost, args, { env, encoding: 'utf8' });
    },
    cleanup() {
      fs.rmSync(dir, { recursive: true, force: true });
    },
  };
}

// Starts the server; resolves with { url, port, token, exited } once the address is printed.
// exited resolves with { code, stdout, stderr } when vekhost ends.
function serve(workspace, extraArgs = []) {
  const child = spawn(vekhost, ['configure', workspace.rules, '--serve', ...extraArgs], {
    env: workspace.env,
    stdio: ['ignore', 'pipe', 'pipe'],
  });
  let stdout = '';
  let stderr = '';
  const exited = new Promise((resolve) => {
    child.on('exit', (code) => resolve({ code, stdout, stderr }));
  });
  return new Promise((resolve, reject) => {
    child.stderr.on('data', (chunk) => { stderr += chunk; });
    child.stdout.on('data', (chunk) => {
      stdout += chunk;
      const match = /^http:\/\/127\.0\.0\.1:(\d+)\/\?token=([0-9a-f]{32})$/m.exec(stdout);
      if (match) resolve({ url: match[0], port: Number(match[1]), token: match[2], exited, child });
    });
    exited.then((result) => reject(new Error(`vekhost ended before serving: ${result.stderr}`)));
  });
}

// Playwright gives every launch a fresh profile folder of its own (--user-data-dir in a new
// temporary folder) and removes it on close.
function launchBrowser() {
  return chromium.launch({
    executablePath: chromiumPath,
    headless: true,
    args: [
      '--no-sandbox',
      '--disable-gpu',
      '--no-first-run',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
    ],
  });
}

// Serves the workspace's rule file for configuration and opens the page in a fresh browser; the
// test's end closes the browser, stops vekhost and removes the workspace.
async function openConfigureDialog(t, workspace) {
  const browser = await launchBrowser();
  const host = await serve(workspace, ['--idle-timeout', '120']);
  t.after(async () => {
    await browser.close();
    host.child.kill('SIGTERM');
    workspace.cleanup();
  });
  const page = await browser.newPage({ viewport: { width: 760, height: 720 } });
  await page.goto(host.url);
  await page.waitForSelector('[data-class="#32770"]');
  return { page, host };
}

module.exports = { makeWorkspace, serve, launchBrowser, openConfigureDialog, vekhost };
