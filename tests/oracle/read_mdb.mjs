// Prints every user table of an Access file as JSON, as read by mdb-reader.
// Usage: node read_mdb.mjs FILE
import { readFileSync } from "node:fs";
import MDBReader from "mdb-reader";

const reader = new MDBReader(readFileSync(process.argv[2]));
const tables = {};
for (const name of reader.getTableNames()) {
    const table = reader.getTable(name);
    tables[name] = {
        columns: table.getColumns().map((c) => ({ name: c.name, type: c.type })),
        rows: table.getData().map((row) => table.getColumnNames().map((n) => row[n])),
    };
}
process.stdout.write(JSON.stringify({ tables }) + "\n");
