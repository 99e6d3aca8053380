// Reference timings for bench/excel.sh with the npm packages xlsx (SheetJS) and exceljs.
//   node excel.js read  xlsx|exceljs FILE        read every cell as text
//   node excel.js write xlsx|exceljs ROWS FILE   write the benchmark sheet
// Prints one line: "<seconds> <rows> <cells>".
'use strict';
const words = ['고객', '번호', '주문', '일자', '상품', '코드', '금액', '수량',
               '배송', '주소', '연락처', '등록', '변경', '사용', '여부', '명'];
const word = (i) => words[(i * 7 + 3) % 16];
// The same rows as bench_excel_tool make.
function makeRow(r) {
  return [word(r) + word(Math.floor(r / 3)) + word(Math.floor(r / 7)), `COL_${r % 977}_${r}`,
          `VARCHAR2(${10 + r % 200})`, String(r), String(r * 0.25 + 0.5),
          `${word(r + 1)} definition text for row ${r}`, `REF-${r % 13}`, String(-r % 1000)];
}

async function main() {
  const [mode, lib, a, b] = process.argv.slice(2);
  const t0 = process.hrtime.bigint();
  let rows = 0, cells = 0;
  if (mode === 'read' && lib === 'xlsx') {
    const XLSX = require('xlsx');
    const wb = XLSX.readFile(a);
    const data = XLSX.utils.sheet_to_json(wb.Sheets[wb.SheetNames[0]], {header: 1, raw: false, defval: ''});
    rows = data.length;
    for (const row of data) for (const c of row) if (c !== '') ++cells;
  } else if (mode === 'read' && lib === 'exceljs') {
    const ExcelJS = require('exceljs');
    const wb = new ExcelJS.Workbook();
    await wb.xlsx.readFile(a);
    wb.worksheets[0].eachRow({includeEmpty: true}, (row) => {
      ++rows;
      row.eachCell((cell) => { if (cell.text !== '') ++cells; });
    });
  } else if (mode === 'write') {
    const n = parseInt(a, 10);
    const data = [];
    for (let r = 0; r < n; ++r) data.push(makeRow(r));
    const t1 = process.hrtime.bigint();
    if (lib === 'xlsx') {
      const XLSX = require('xlsx');
      const wb = XLSX.utils.book_new();
      XLSX.utils.book_append_sheet(wb, XLSX.utils.aoa_to_sheet(data), 'Sheet1');
      XLSX.writeFile(wb, b);
    } else {
      const ExcelJS = require('exceljs');
      const wb = new ExcelJS.Workbook();
      wb.addWorksheet('Sheet1').addRows(data);
      await wb.xlsx.writeFile(b);
    }
    rows = n;
    cells = n * 8;
    console.log(`${Number(process.hrtime.bigint() - t1) / 1e9} ${rows} ${cells}`);
    return;
  } else {
    console.error('usage: node excel.js read|write xlsx|exceljs ...');
    process.exit(2);
  }
  console.log(`${Number(process.hrtime.bigint() - t0) / 1e9} ${rows} ${cells}`);
}
main().catch((e) => { console.error(e); process.exit(1); });
