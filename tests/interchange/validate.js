// Validates glTF files with the reference validator; exits 1 when any has an error.
const fs = require('fs');
const path = require('path');
const validator = require(path.join(process.argv[2], 'node_modules', 'gltf-validator'));

(async () => {
  let failed = 0;
  for (const file of process.argv.slice(3)) {
    const report = await validator.validateBytes(new Uint8Array(fs.readFileSync(file)), {
      uri: path.basename(file),
      externalResourceFunction: (uri) => new Promise((resolve, reject) => {
        fs.readFile(path.join(path.dirname(file), decodeURIComponent(uri)),
                    (err, data) => err ? reject(err.toString()) : resolve(new Uint8Array(data)));
      }),
    });
    const issues = report.issues;
    console.log(`${path.basename(file)}: ${issues.numErrors} errors, ${issues.numWarnings} warnings, ${issues.numInfos} infos`);
    for (const m of issues.messages)
      if (m.severity <= 1) console.log(`  ${m.severity === 0 ? 'error' : 'warning'} ${m.code}: ${m.message} ${m.pointer || ''}`);
    if (issues.numErrors > 0) failed = 1;
  }
  process.exit(failed);
})();
