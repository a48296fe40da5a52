// The configuration dialog used in a browser by real clicks and keys, end to end: the file
// vekhost writes is read back with vekhost show.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const { makeWorkspace, openConfigureDialog } = require('./harness');
const d = require('./dialogs');

const screenshot = path.resolve(__dirname, '../../docs/browser-configuration-dialog.png');

test('per-material thicknesses for three materials, a refused OK, then OK', async (t) => {
  const workspace = makeWorkspace();
  const { page, host } = await openConfigureDialog(t, workspace);

  await d.click(page, d.control(40096)); // one thickness per material
  assert.strictEqual(await page.getAttribute(`${d.control(40096)} [data-check]`, 'data-check'), '1');
  await d.click(page, d.button('Add >>')); // nothing selected: only the offered materials stay

  // A click into the thickness cell takes the chosen material and opens the cell's editor.
  await d.chooseMaterial(page, 0, 'ASTM A216 WCA');
  await d.clickCell(page, 0, 1);
  await d.retype(page, '2.5');
  await d.press(page, 'Tab'); // the focus goes on to the next control, the text stays
  assert.notStrictEqual((await d.focused(page)).cls, 'Edit');
  await d.chooseMaterial(page, 1, 'ASTM A216 WCB');
  await d.clickCell(page, 1, 1);
  await d.retype(page, '3');
  await d.press(page, 'Enter'); // commits the open cell; the dialog stays open
  assert.strictEqual(await d.cellText(page, 0, 0), 'ASTM A216 WCA');
  assert.strictEqual(await d.cellText(page, 0, 1), '2.5');
  assert.strictEqual(await d.cellText(page, 1, 1), '3');

  // Steel keeps its row; without a thickness OK is refused with a message box.
  assert.strictEqual(await d.cellText(page, 3, 0), 'Steel');
  await d.clickCell(page, 3, 1);
  await d.retype(page, '');
  await d.click(page, d.button('OK'));
  await page.waitForSelector('.msgbox');
  await page.screenshot({ path: screenshot });
  assert.match(await page.textContent('.msgbox-text'), /thickness/i);
  await d.click(page, '.msgbox button[data-answer="1"]');
  assert.strictEqual(await page.$('.msgbox'), null);

  await d.clickCell(page, 3, 1);
  await d.retype(page, '4');
  await d.click(page, d.button('OK'));
  await page.waitForSelector('body[data-phase="ended"]');
  assert.match(await page.textContent('#status'), /configured and saved/);
  const result = await host.exited;
  assert.strictEqual(result.code, 0, result.stderr);

  const shown = workspace.run(['show', workspace.rules]).replace(/ +/g, ' ');
  assert.match(shown, /ASTM A216 WCA yes 2\.5\n/);
  assert.match(shown, /ASTM A216 WCB yes 3\n/);
  assert.match(shown, /Steel yes 4\n/);
  assert.strictEqual((shown.match(/ yes /g) || []).length, 3, shown);
});

test('Cancel after changes leaves the file byte for byte', async (t) => {
  const workspace = makeWorkspace();
  const before = fs.readFileSync(workspace.rules);
  const { page, host } = await openConfigureDialog(t, workspace);
  await d.click(page, d.control(40096));
  await d.chooseMaterial(page, 0, 'ASTM A216 WCB');
  await d.click(page, d.button('Cancel'));
  await page.waitForSelector('body[data-phase="ended"]');
  assert.match(await page.textContent('#status'), /unchanged, file left as it was/);
  assert.strictEqual((await host.exited).code, 0);
  assert.deepStrictEqual(fs.readFileSync(workspace.rules), before);
});
