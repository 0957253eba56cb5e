// @faker-js/faker doing the same job: COUNT lines of "first last", written to FILE at once.
import { writeFileSync } from 'node:fs';
import { faker } from '@faker-js/faker';

const count = Number(process.argv[2]);
const lines = new Array(count);
for (let i = 0; i < count; i++) lines[i] = faker.person.firstName() + ' ' + faker.person.lastName();
writeFileSync(process.argv[3], lines.join('\n') + '\n');
