// chance doing the same job: COUNT lines of "first last", written to FILE at once.
const { writeFileSync } = require('node:fs');
const chance = new (require('chance'))();

const count = Number(process.argv[2]);
const lines = new Array(count);
for (let i = 0; i < count; i++) lines[i] = chance.first() + ' ' + chance.last();
writeFileSync(process.argv[3], lines.join('\n') + '\n');
