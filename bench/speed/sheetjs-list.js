// Lists every cell of a workbook's sheets with SheetJS (the "xlsx" package from npm), one line a
// cell (address, kind, value, the value as its format shows it); the other side of the paired
// speed figures. Run with node from a folder where `npm install xlsx` was run:
//     NODE_PATH=FOLDER/node_modules node bench/speed/sheetjs-list.js WORKBOOK > /dev/null
const XLSX = require("xlsx");

const book = XLSX.readFile(process.argv[2]);
const lines = [];
for (const name of book.SheetNames) {
    const sheet = book.Sheets[name];
    lines.push(`sheet\t${name}`);
    for (const address of Object.keys(sheet)) {
        if (address[0] === "!")
            continue;
        const cell = sheet[address];
        lines.push(`cell\t${address}\t${cell.t}\t${cell.v}\t${cell.w}`);
    }
}
process.stdout.write(lines.join("\n") + "\n");
