// The material database dialog opened from the configuration dialog, on top of it in the page:
// a grade added (its message box answered in the page), the tree expanded by a double click and
// a check box clicked, both dialogs closed.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const { makeWorkspace, openConfigureDialog } = require('./harness');
const d = require('./dialogs');

const topDialog = '#screen > [data-class="#32770"]:last-child';

test('the material database dialog is used on top of the configuration dialog', async (t) => {
  const workspace = makeWorkspace();
  const before = fs.readFileSync(workspace.rules);
  const { page, host } = await openConfigureDialog(t, workspace);

  await d.click(page, d.control(40096));
  await d.click(page, d.button('Edit Material Database...'));
  const captions = await page.$$eval('#screen > [data-class="#32770"]', (els) => els.map((e) => e.dataset.text));
  assert.deepStrictEqual(captions, ['Uniform Thickness', 'Material Database'], 'the nested dialog is drawn last, on top');

  await d.click(page, `${topDialog} ${d.control(40034)}`);
  await page.keyboard.type('Steel');
  await d.click(page, `${topDialog} ${d.control(40035)}`);
  await page.keyboard.type('Browser Grade');
  await d.settle(page);
  await d.click(page, `${topDialog} ${d.control(40036)}`);
  await page.waitForSelector('.msgbox');
  assert.strictEqual(await page.textContent('.msgbox-text'),
    'The material grade "Browser Grade" has been added to the group "Steel".');
  await d.click(page, '.msgbox button[data-answer="1"]');

  const tree = `${topDialog} [data-class="SysTreeView32"]`;
  await d.doubleClick(page, `${tree} [data-text="All materials"] [data-part="label"]`);
  const iron = `${tree} [data-text="Iron"] [data-part="check"]`;
  assert.strictEqual(await page.getAttribute(iron, 'data-check'), '0');
  await d.click(page, iron);
  assert.strictEqual(await page.getAttribute(iron, 'data-check'), '1');
  await d.click(page, iron);
  assert.strictEqual(await page.getAttribute(iron, 'data-check'), '0');

  await d.click(page, `${topDialog} ${d.control(1)}`); // OK of the material database dialog
  assert.strictEqual(await page.$$eval('#screen > [data-class="#32770"]', (els) => els.length), 1);
  await d.click(page, d.button('Cancel'));
  await page.waitForSelector('body[data-phase="ended"]');
  assert.strictEqual((await host.exited).code, 0);
  assert.deepStrictEqual(fs.readFileSync(workspace.rules), before);
  assert.match(workspace.run(['materials', 'list', 'Steel']), /^Browser Grade$/m);
});
