// Acting on the served dialogs as a person does: real clicks and keys at what the page draws,
// then waiting until the host has answered every event the page sent.
'use strict';

const assert = require('node:assert');

const grid = '[data-class="SysListView32"]';

function control(id) {
  return `[data-id="${id}"]`;
}

function button(text) {
  return `[data-class="Button"][data-text="${text}"]`;
}

function cell(row, column) {
  return `${grid} [data-row="${row}"] [data-column="${column}"]`;
}

// Until every event is answered and the page drew the state after it.
async function settle(page) {
  await page.waitForFunction(() => document.body.dataset.busy === '0');
}

async function click(page, selector) {
  await page.click(selector);
  await settle(page);
}

async function doubleClick(page, selector) {
  await page.dblclick(selector);
  await settle(page);
}

// A click at the centre of where a grid cell is drawn, whatever lies on it (an open editor).
async function clickCell(page, row, column) {
  const box = await page.locator(cell(row, column)).boundingBox();
  assert.ok(box, `cell ${row} ${column} is not drawn`);
  await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
  await settle(page);
}

async function press(page, key) {
  await page.keyboard.press(key);
  await settle(page);
}

// The window with the keyboard focus, as the page drew it.
async function focused(page) {
  const handle = await page.$('[data-focus="true"]');
  assert.ok(handle, 'no window has the focus');
  return { cls: await handle.getAttribute('data-class'), text: await handle.getAttribute('data-text') };
}

// Removes the focused edit's text key by key, then types text.
async function retype(page, text) {
  const edit = await focused(page);
  assert.strictEqual(edit.cls, 'Edit');
  await page.keyboard.press('End');
  for (let i = 0; i < [...edit.text].length; i += 1) await page.keyboard.press('Backspace');
  await page.keyboard.type(text);
  await settle(page);
  assert.strictEqual((await focused(page)).text, text);
}

// A grid row's material: the cell's list editor opened by a double click, its list dropped
// with the arrow, the entry clicked.
async function chooseMaterial(page, row, material) {
  await doubleClick(page, cell(row, 0));
  await click(page, `${grid} [data-class="ComboBox"] .combo-arrow`);
  await click(page, `[data-class="ComboLBox"] [data-text="${material}"]`);
}

async function cellText(page, row, column) {
  return (await page.textContent(cell(row, column))).trim();
}

module.exports = { control, button, cell, settle, click, doubleClick, clickCell, press, focused, retype,
  chooseMaterial, cellText };
