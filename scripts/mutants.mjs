// Blind spots found before they land: small plausible faults (mutants) made one at a time in the
// lines a change touched, or in whole files, each built and run against the fast tests (the unit
// and GL test programs it rebuilt; for the page's script, its tests under Node.js). A mutant that
// no test fails survives: a fault a user could meet that no test sees. Prints each survivor's
// file, line and change, then the score.
//
// Usage: node mutants.mjs BUILD_DIR, with FILES="a.cpp b.js" for whole files, else the C, C++ and
// page script lines changed since BASE (by default the last commit, and what is not committed
// yet); SAMPLE mutants at most (30 by default), picked by DRAW, a number. Runs on a private X
// server (the GL tests need one), in a copy of the sources, so the working tree is never touched.
import { execFileSync, spawnSync } from 'node:child_process';
import { cpSync, mkdirSync, readFileSync, readdirSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';

const top = resolve(dirname(new URL(import.meta.url).pathname), '..');
const work = resolve(process.argv[2] || 'build-mutants');
const sample = Number(process.env.SAMPLE || 30);
const git = (...args) => execFileSync('git', ['-C', top, ...args], { encoding: 'utf8' });
const script = (file) => /^platform\/web\/(page\/[\w]+|program)\.js$/.test(file);
const source = (file) => (/\.(c|cpp|h)$/.test(file) && !file.startsWith('tests/')) || script(file);

// The lines to mutate: file -> set of 1-based line numbers (null for every line).
function targets() {
  const lines = new Map();
  if (process.env.FILES) {
    for (const file of process.env.FILES.split(/[\s,]+/).filter(Boolean)) lines.set(file, null);
    return lines;
  }
  const base = process.env.BASE || 'HEAD~1';
  let file = null;
  for (const line of git('diff', '-U0', base, '--', '*.c', '*.cpp', '*.h', '*.js').split('\n')) {
    if (line.startsWith('+++ ')) file = line.slice(6);
    const hunk = line.match(/^@@ -\S+ \+(\d+)(?:,(\d+))? @@/);
    if (!hunk || !source(file)) continue;
    if (!lines.has(file)) lines.set(file, new Set());
    for (let n = +hunk[1]; n < +hunk[1] + Number(hunk[2] ?? 1); ++n) lines.get(file).add(n);
  }
  return lines;
}

// The rules: each gives the mutants of one line of code, as [description, mutated line].
const swaps = [[' === ', ' !== '], [' !== ', ' === '], [' < ', ' <= '], [' <= ', ' < '], [' > ', ' >= '],
  [' >= ', ' > '], [' == ', ' != '], [' != ', ' == '], [' + ', ' - '], [' - ', ' + '],
  [' * ', ' / '], [' / ', ' * '], [' && ', ' || '], [' || ', ' && '], [' += ', ' -= '], [' -= ', ' += '],
  ['return true', 'return false'], ['return false', 'return true']];
function mutate(text) {
  const code = text.replace(/\/\/.*$/, '');
  if (!code.trim() || /^\s*(#|\*|\/\*)/.test(code)) return [];
  const out = [];
  for (const [from, to] of swaps) {
    for (let at = code.indexOf(from); at >= 0; at = code.indexOf(from, at + 1)) {
      out.push([`'${from.trim()}' -> '${to.trim()}'`, text.slice(0, at) + to + text.slice(at + from.length)]);
    }
  }
  // A constant off by one: an integer or decimal literal, not part of a name.
  for (const m of code.matchAll(/(?<![\w.])(\d+)(\.\d+)?(f?)(?![\w.])/g)) {
    const bigger = m[2] ? `${(Number(m[1] + m[2]) + 1).toFixed(m[2].length - 1)}${m[3]}` : String(Number(m[1]) + 1);
    out.push([`${m[0]} -> ${bigger}`, text.slice(0, m.index) + bigger + text.slice(m.index + m[0].length)]);
  }
  // A condition negated.
  const condition = code.match(/\b(if|while) \((.*)\)( \{| return| continue| break|$)/);
  if (condition) {
    const at = text.indexOf(condition[0]) + condition[1].length + 2;
    const end = at + condition[2].length;
    out.push([`${condition[1]} negated`, `${text.slice(0, at)}!(${text.slice(at, end)})${text.slice(end)}`]);
  }
  // A statement dropped: a whole line that is one call or assignment.
  if (/^\s*[\w:.>\-[\]]+(\(.*\)|\s*[-+*/]?=\s*.+);\s*$/.test(code) && !/^\s*(return|case|default)\b/.test(code)) {
    out.push(['statement dropped', '']);
  }
  return out;
}

// A repeatable draw of `n` of the mutants, in their order in the files.
function draw(all, n, state = Number(process.env.DRAW || 1)) {
  const random = () => ((state = (state * 1103515245 + 12345) % 2147483648) / 2147483648);
  const picked = all.map((m) => [random(), m]).sort((a, b) => a[0] - b[0]).slice(0, n).map((p) => p[1]);
  return all.filter((m) => picked.includes(m));
}

// ---- The copy, its build, and each mutant's run ---------------------------------------------

const copy = join(work, 'src'), build = join(work, 'build');
rmSync(copy, { recursive: true, force: true });
mkdirSync(copy, { recursive: true });
for (const file of git('ls-files', '-z', '--cached', '--others', '--exclude-standard').split('\0').filter(Boolean)) {
  try {
    mkdirSync(dirname(join(copy, file)), { recursive: true });
    cpSync(join(top, file), join(copy, file));
  } catch {
    // a file deleted but not yet committed
  }
}
const mutants = [];
for (const [file, lines] of targets()) {
  const text = readFileSync(join(top, file), 'utf8').split('\n');
  text.forEach((line, i) => {
    if (lines && !lines.has(i + 1)) return;
    for (const [change, mutated] of mutate(line)) mutants.push({ file, line: i + 1, change, mutated });
  });
}
const chosen = draw(mutants, sample);
console.error(`mutants: ${chosen.length} of ${mutants.length} in ${new Set(chosen.map((m) => m.file)).size} files`);
cpSync(join(top, 'node_modules'), join(copy, 'node_modules'), { recursive: true });
const native = chosen.some((m) => !script(m.file));
// The C and C++ build, only where a mutant needs it.
const cmake = (...args) => spawnSync('cmake', args, { encoding: 'utf8' });
const built = () => cmake('--build', build).status === 0;
if (native) {
  const configured = cmake('-S', copy, '--preset', 'test', '-B', build);
  if (configured.status) throw new Error(`configuring failed:\n${configured.stderr}`);
  if (!built()) throw new Error('the sources as they are do not build');
}
// The test programs, and the tools that they run (frames, key_table): a tool rebuilt is tried by
// every test program.
const tests = join(build, 'tests'), tools = join(build, 'tools');
const programs = (dir, pick) => readdirSync(dir).filter(pick).map((f) => join(dir, f));
const stamps = () => new Map([...programs(tests, (f) => f.startsWith('test_') && f !== 'test_e2e' && !f.includes('.')),
  ...programs(tools, (f) => !f.includes('.') && statSync(join(tools, f)).isFile())]
  .map((f) => [f, statSync(f).mtimeMs]));

let killed = 0, invalid = 0;
const survivors = [];
for (const m of chosen) {
  const path = join(copy, m.file), original = readFileSync(path, 'utf8');
  const lines = original.split('\n');
  lines[m.line - 1] = m.mutated;
  const before = script(m.file) ? null : stamps();
  writeFileSync(path, lines.join('\n'));
  let verdict;
  if (script(m.file)) {
    const pageTests = readdirSync(join(copy, 'tests/page')).filter((f) => f.endsWith('.test.mjs'));
    const run = spawnSync('node', ['--test', ...pageTests.map((f) => join(copy, 'tests/page', f))],
      { cwd: copy, encoding: 'utf8', timeout: 120000 });
    if (run.status !== 0) verdict = 'killed by the page\'s tests', ++killed;
    else verdict = 'SURVIVED', survivors.push(m);
  } else if (!built()) {
    verdict = 'does not build';
    ++invalid;
  } else {
    let rebuilt = [...stamps()].filter(([f, t]) => t !== before.get(f)).map(([f]) => f);
    if (rebuilt.some((f) => f.startsWith(tools))) rebuilt = [...stamps().keys()].filter((f) => f.startsWith(tests));
    // A program that ends early with status 0 has not passed: its summary says so when it has.
    const failed = rebuilt.filter((f) => f.startsWith(tests)).find((f) => {
      const run = spawnSync(f, ['--gtest_brief=1', '--gtest_fail_fast'],
        { cwd: tests, encoding: 'utf8', timeout: 120000 });
      return run.status !== 0 || !/\[ {2}PASSED {2}\]/.test(run.stdout);
    });
    if (failed) verdict = `killed by ${failed.split('/').pop()}`, ++killed;
    else verdict = 'SURVIVED', survivors.push(m);
  }
  console.error(`  ${m.file}:${m.line} ${m.change}: ${verdict}`);
  writeFileSync(path, original);
}
if (native) built();
console.log(`\nSurvivors (${survivors.length}):`);
for (const m of survivors) {
  console.log(`  ${m.file}:${m.line}: ${m.change}\n      ${m.mutated.trim() || '(line removed)'}`);
}
const score = killed + survivors.length ? (100 * killed / (killed + survivors.length)).toFixed(0) : '-';
console.log(`Score: ${killed} of ${killed + survivors.length} mutants killed (${score} %); ${invalid} did not build.`);
