#!/usr/bin/env node
// Outside anchor for bench_similar: the plain Levenshtein distance of the npm package
// fastest-levenshtein over the same ASCII pairs (sample outer names x all names).
//
//   (cd bench/node && npm install)
//   build/bench/bench_similar --anchor-out /tmp/similar_names.txt
//   node bench/similar_anchor.js /tmp/similar_names.txt
'use strict';
const fs = require('fs');
const path = require('path');
const { distance } = require(path.join(__dirname, 'node', 'node_modules', 'fastest-levenshtein'));

const file = process.argv[2] || 'similar_anchor_names.txt';
const lines = fs.readFileSync(file, 'utf8').split('\n');
const sample = [];
const all = [];
let target = null;
let expected = null;
for (const line of lines) {
  if (line.startsWith('# sample')) target = sample;
  else if (line.startsWith('# all')) target = all;
  else if (line.startsWith('# checksum')) expected = Number(line.split(' ')[2]);
  else if (line.length > 0 && target) target.push(line);
}
if (sample.length === 0 || all.length === 0) {
  console.error(`similar_anchor: no names in ${file}; run bench_similar first`);
  process.exit(1);
}

function run() {
  let checksum = 0;
  for (const a of sample) for (const b of all) checksum += distance(a, b);
  return checksum;
}
run(); // warm up the JIT
const start = process.hrtime.bigint();
const cpuStart = process.cpuUsage();
const checksum = run();
const seconds = Number(process.hrtime.bigint() - start) / 1e9;
const cpu = process.cpuUsage(cpuStart);
const cpuSeconds = (cpu.user + cpu.system) / 1e6;
const pairs = sample.length * all.length;
const nsPerPair = (seconds * 1e9) / pairs;
const allPairsSeconds = (nsPerPair * all.length * all.length) / 1e9;
console.log(`fastest-levenshtein ${require(path.join(__dirname, 'node', 'node_modules', 'fastest-levenshtein', 'package.json')).version}, node ${process.version}`);
console.log(`pairs ${pairs} (sample ${sample.length} x ${all.length}), ${seconds.toFixed(3)} s wall, ${cpuSeconds.toFixed(3)} s cpu, ` +
            `${nsPerPair.toFixed(1)} ns/pair wall, ${((cpuSeconds * 1e9) / pairs).toFixed(1)} ns/pair cpu`);
console.log(`every pair of the ${all.length} ASCII names, distance only: ${allPairsSeconds.toFixed(1)} s (extrapolated)`);
console.log(`checksum ${checksum}` + (expected === null ? '' : expected === checksum ? ' (same as bench_similar)' : ` (bench_similar: ${expected}, MISMATCH)`));
process.exit(expected !== null && expected !== checksum ? 1 : 0);
