// Prints every user table of an Access file as read by the npm package mdb-reader, in
// the canonical text the engine's cross-check test produces for its own reads:
//   "\x1e" table name, then one line per row, fields separated by "\x1f";
//   NULL "<null>", Yes/No 1/0, dates "YYYY-MM-DD HH:MM:SS", numbers in JavaScript's
//   shortest form, text with "\" and line breaks escaped.
// Usage: node mdb_reader_dump.mjs <folder holding node_modules/mdb-reader> <file>
import { readFileSync } from "fs";
import { join } from "path";
import { pathToFileURL } from "url";

const [moduleRoot, file] = process.argv.slice(2);
const entry = join(moduleRoot, "node_modules", "mdb-reader", "lib", "node", "index.js");
const { default: MDBReader } = await import(pathToFileURL(entry).href);

const two = (n) => String(n).padStart(2, "0");
function canonical(value) {
  if (value === null || value === undefined) return "<null>";
  if (typeof value === "boolean") return value ? "1" : "0";
  if (typeof value === "number") return String(value);
  if (value instanceof Date) {
    return `${value.getUTCFullYear()}-${two(value.getUTCMonth() + 1)}-${two(value.getUTCDate())} ` +
           `${two(value.getUTCHours())}:${two(value.getUTCMinutes())}:${two(value.getUTCSeconds())}`;
  }
  return String(value).replace(/\\/g, "\\\\").replace(/\n/g, "\\n").replace(/\r/g, "\\r");
}

const reader = new MDBReader(readFileSync(file));
let out = "";
for (const name of reader.getTableNames()) {
  const table = reader.getTable(name);
  const columns = table.getColumnNames();
  out += "\x1e" + name + "\n";
  for (const row of table.getData()) out += columns.map((c) => canonical(row[c])).join("\x1f") + "\n";
}
process.stdout.write(out);
