// Reads or writes workbooks with CQrExcelSheet for bench/excel.sh and for looking into files.
//   bench_excel_tool dump FILE            prints every row, cells separated by tabs
//   bench_excel_tool read FILE            reads every row, prints rows, cells and seconds
//   bench_excel_tool write IN OUT         reads IN and writes its cells to OUT
//   bench_excel_tool make ROWS OUT        writes the benchmark sheet (Korean/Latin text, numbers)
//   bench_excel_tool tsv IN OUT           writes the lines of IN (cells split at tabs, UTF-8 with any
//                                         bytes, NULs included) as the rows of OUT
#include "components/QrExcelSheet.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <cstring>

namespace {

int Fail(const CQrExcelSheet& sheet)
{
    std::fprintf(stderr, "error: %s\n", sheet.GetLastError().toUtf8().constData());
    return 1;
}

QStringList MakeRow(int r)
{
    static const char16_t* words[] = {u"고객", u"번호", u"주문",   u"일자", u"상품", u"코드", u"금액", u"수량",
                                      u"배송", u"주소", u"연락처", u"등록", u"변경", u"사용", u"여부", u"명"};
    auto word = [&](int i) { return QString::fromUtf16(words[(i * 7 + 3) % 16]); };
    QStringList row;
    row << word(r) + word(r / 3) + word(r / 7);
    row << QStringLiteral("COL_%1_%2").arg(r % 977).arg(r);
    row << QStringLiteral("VARCHAR2(%1)").arg(10 + r % 200);
    row << QString::number(r);
    row << QString::number(r * 0.25 + 0.5, 'g', 15);
    row << word(r + 1) + QStringLiteral(" definition text for row %1").arg(r);
    row << QStringLiteral("REF-%1").arg(r % 13);
    row << QString::number(-r % 1000);
    return row;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s dump|read FILE | write IN OUT | make ROWS OUT | tsv IN OUT\n", argv[0]);
        return 2;
    }
    const QString cmd = QString::fromLocal8Bit(argv[1]);
    QElapsedTimer timer;
    timer.start();
    if (cmd == QLatin1String("make") && argc >= 4) {
        CQrExcelSheet out(true);
        if (!out.OpenFile(QString::fromLocal8Bit(argv[3]), true))
            return Fail(out);
        const int rows = std::atoi(argv[2]);
        for (int r = 0; r < rows; ++r)
            out.SetRowDataRange(MakeRow(r), r);
        if (!out.Save(1))
            return Fail(out);
        std::printf("wrote %d rows in %.3f s\n", rows, timer.elapsed() / 1000.0);
        return 0;
    }
    if (cmd == QLatin1String("tsv") && argc >= 4) {
        QFile file(QString::fromLocal8Bit(argv[2]));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "error: cannot read %s\n", argv[2]);
            return 1;
        }
        CQrExcelSheet out(true);
        if (!out.OpenFile(QString::fromLocal8Bit(argv[3]), true))
            return Fail(out);
        QList<QByteArray> lines = file.readAll().split('\n');
        if (!lines.isEmpty() && lines.back().isEmpty())
            lines.removeLast(); // the last line's break
        for (int row = 0; row < int(lines.size()); ++row) {
            QStringList cells;
            for (const QByteArray& cell : lines[row].split('\t'))
                cells << QString::fromUtf8(cell);
            out.SetRowDataRange(cells, row);
        }
        if (!out.Save(1))
            return Fail(out);
        return 0;
    }
    CQrExcelSheet in(true);
    if (!in.OpenFile(QString::fromLocal8Bit(argv[2]), false))
        return Fail(in);
    QStringList cells;
    long long count = 0;
    if (cmd == QLatin1String("dump")) {
        for (int r = 0; r < in.GetRowCount(); ++r) {
            in.GetRowData(cells, r, -1);
            std::printf("%d\t%s\n", r, cells.join(QLatin1Char('\t')).toUtf8().constData());
        }
        return 0;
    }
    if (cmd == QLatin1String("read")) {
        for (int r = 0; r < in.GetRowCount(); ++r) {
            in.GetRowData(cells, r, -1);
            for (const QString& c : cells)
                count += !c.isEmpty();
        }
        std::printf("read %d rows, %lld cells in %.3f s\n", in.GetRowCount(), count, timer.elapsed() / 1000.0);
        return 0;
    }
    if (cmd == QLatin1String("write") && argc >= 4) {
        CQrExcelSheet out(true);
        if (!out.OpenFile(QString::fromLocal8Bit(argv[3]), true))
            return Fail(out);
        const qint64 readMs = timer.elapsed();
        timer.restart();
        for (int r = 0; r < in.GetRowCount(); ++r) {
            in.GetRowData(cells, r, -1);
            out.SetRowDataRange(cells, r);
        }
        if (!out.Save(1))
            return Fail(out);
        std::printf("read %.3f s, wrote %d rows in %.3f s\n", readMs / 1000.0, in.GetRowCount(),
                    timer.elapsed() / 1000.0);
        return 0;
    }
    std::fprintf(stderr, "unknown command\n");
    return 2;
}
