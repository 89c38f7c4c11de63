// Checks glTF files with the Khronos glTF validator and prints each file's
// counts of errors, warnings, infos and hints, then every issue.
//   node tools/gltf-validate.mjs FILE...
// The validator comes from npm: `npm install gltf-validator` in a folder
// named by GLTF_VALIDATOR_HOME (its node_modules is looked in), else in
// this folder. Exits 1 when any file has an error or a warning (a value
// outside the allowed ones is a warning), 2 when it cannot run.
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';

const home = process.env.GLTF_VALIDATOR_HOME || path.dirname(new URL(import.meta.url).pathname);
let validator;
try {
  validator = createRequire(path.join(home, 'package.json'))('gltf-validator');
} catch (e) {
  console.error(`gltf-validate: the validator is not installed under ${home}: ${e.message}`);
  process.exit(2);
}

let errors = 0;
for (const file of process.argv.slice(2)) {
  const report = await validator.validateBytes(new Uint8Array(readFileSync(file)), {
    uri: path.basename(file),
    maxIssues: 0,
    externalResourceFunction: (uri) =>
      Promise.resolve(new Uint8Array(readFileSync(path.join(path.dirname(file), decodeURIComponent(uri))))),
  });
  const i = report.issues;
  console.log(`${file}: ${i.numErrors} errors, ${i.numWarnings} warnings, ${i.numInfos} infos, ${i.numHints} hints` +
              ` (${report.validatorVersion})`);
  for (const m of i.messages) console.log(`  ${['error', 'warning', 'info', 'hint'][m.severity]} ${m.code} ${m.pointer ?? ''}: ${m.message}`);
  errors += i.numErrors + i.numWarnings;
}
process.exit(errors > 0 ? 1 : 0);
