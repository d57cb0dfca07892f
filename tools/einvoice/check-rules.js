#!/usr/bin/env node
// Runs the EN 16931 business rules (one Schematron file) over e-invoice XML files, the rules read
// once for all of them, as the test of the e-invoice does.
//
//   node check-rules.js RULES.sch FILE.xml...
//
// Prints one line per failed assert, "FILE<TAB>FLAG<TAB>ID<TAB>MESSAGE" (FLAG as the rule file
// marks the assert: fatal or warning), then "FILE<TAB>checked" once the file is done. Exits 1 when
// any fatal assert failed, 2 when the rules or a file cannot be read.
'use strict';

const fs = require('fs');
const { Schema } = require('node-schematron');

const [rulesPath, ...files] = process.argv.slice(2);
if (!rulesPath || files.length === 0) {
  process.stderr.write('usage: node check-rules.js RULES.sch FILE.xml...\n');
  process.exit(2);
}

let rules;
try {
  rules = fs.readFileSync(rulesPath, 'utf8');
} catch (error) {
  process.stderr.write(`cannot read ${rulesPath}: ${error.message}\n`);
  process.exit(2);
}

// The runner gives the failed assert's id; its flag is read from the rule file itself.
const flags = new Map();
for (const tag of rules.matchAll(/<assert\b[^>]*>/g)) {
  const id = /\bid="([^"]*)"/.exec(tag[0]);
  const flag = /\bflag="([^"]*)"/.exec(tag[0]);
  if (id) flags.set(id[1], flag ? flag[1] : 'fatal');
}

const schema = Schema.fromString(rules);
let fatal = 0;
for (const file of files) {
  let xml;
  try {
    xml = fs.readFileSync(file, 'utf8');
  } catch (error) {
    process.stderr.write(`cannot read ${file}: ${error.message}\n`);
    process.exit(2);
  }
  for (const result of schema.validateString(xml)) {
    if (result.isReport) continue;
    const flag = flags.get(result.assertId) || 'fatal';
    if (flag === 'fatal') fatal += 1;
    const message = (result.message || '').replace(/\s+/g, ' ').trim();
    process.stdout.write(`${file}\t${flag}\t${result.assertId}\t${message}\n`);
  }
  process.stdout.write(`${file}\tchecked\n`);
}
process.exit(fatal > 0 ? 1 : 0);
