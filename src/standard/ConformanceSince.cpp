#include "standard/ConformanceSince.h"

#include "standard/StandardTexts.h"

#include <QJsonArray>
#include <xlsxwriter.h>

namespace Conformance {

using namespace StandardTexts;

QString SinceReasonKey(int reason)
{
    static const char* const keys[eSinceReasonCount] = {"abbreviation_changed", "withdrawn", "new_standard_word",
                                                        "class_word_changed",   "new_term",  "synonym_changed",
                                                        "domain_changed",       "other"};
    return reason >= 0 && reason < eSinceReasonCount ? QString::fromLatin1(keys[reason]) : QString();
}

QJsonObject SinceToJson(const ConformanceSince& since, const QString& newAreaId, const QString& newAreaName)
{
    QJsonArray reasons;
    for (int r = 0; r < eSinceReasonCount; ++r)
        reasons.append(QJsonObject{{QStringLiteral("reason"), SinceReasonKey(r)},
                                   {QStringLiteral("name"), kSinceReasonNames[r]},
                                   {QStringLiteral("columns"), since.perReason[size_t(r)]}});
    QJsonArray entries;
    for (const SinceEntry& e : since.entries) {
        QJsonArray keys;
        for (const int r : e.reasons)
            keys.append(SinceReasonKey(r));
        entries.append(QJsonObject{{QStringLiteral("table"), e.table},
                                   {QStringLiteral("column"), e.column},
                                   {QStringLiteral("attribute"), e.attribute},
                                   {QStringLiteral("dataType"), e.dataType},
                                   {QStringLiteral("reasons"), keys},
                                   {QStringLiteral("detail"), e.detail},
                                   {QStringLiteral("oldVerdict"), e.oldVerdict},
                                   {QStringLiteral("newVerdict"), e.newVerdict}});
    }
    return QJsonObject{{QStringLiteral("oldArea"), since.oldAreaId}, {QStringLiteral("oldAreaName"), since.oldAreaName},
                       {QStringLiteral("newArea"), newAreaId},       {QStringLiteral("newAreaName"), newAreaName},
                       {QStringLiteral("columns"), since.columns},   {QStringLiteral("reasons"), reasons},
                       {QStringLiteral("entries"), entries}};
}

int WriteSinceSheet(lxw_workbook* workbook, lxw_format* bold, const ConformanceSince& since, const QString& newAreaId,
                    const QString& newAreaName)
{
    lxw_error err = LXW_NO_ERROR;
    const auto text = [&](lxw_worksheet* ws, int r, int c, const QString& s, lxw_format* f = nullptr) {
        if (err == LXW_NO_ERROR && !s.isEmpty())
            err = worksheet_write_string(ws, lxw_row_t(r), lxw_col_t(c), s.left(32767).toUtf8().constData(), f);
    };
    const auto number = [&](lxw_worksheet* ws, int r, int c, double v) {
        if (err == LXW_NO_ERROR)
            err = worksheet_write_number(ws, lxw_row_t(r), lxw_col_t(c), v, nullptr);
    };
    QStringList header = kSinceHeader;
    const auto area = [](const QString& id, const QString& name) {
        return name.isEmpty() ? id : QStringLiteral("%1 (%2)").arg(name, id);
    };
    header[6] += QStringLiteral(" (%1)").arg(since.oldAreaId);
    header[7] += QStringLiteral(" (%1)").arg(newAreaId);

    constexpr size_t kLastRow = 1048575;
    size_t done = 0;
    for (int part = 1; err == LXW_NO_ERROR && (part == 1 || done < since.entries.size()); ++part) {
        const QString name = part == 1 ? kSinceSheet : QStringLiteral("%1 (%2)").arg(kSinceSheet).arg(part);
        lxw_worksheet* ws = workbook_add_worksheet(workbook, name.toUtf8().constData());
        if (!ws)
            return LXW_ERROR_MEMORY_MALLOC_FAILED;
        worksheet_set_column(ws, 0, 3, 18, nullptr);
        worksheet_set_column(ws, 4, 4, 22, nullptr);
        worksheet_set_column(ws, 5, 7, 45, nullptr);
        int row = 0;
        if (part == 1) {
            // The two areas and the counts first: what a reader looks for before the rows.
            text(ws, row, 0, kSinceOldArea, bold);
            text(ws, row++, 1, area(since.oldAreaId, since.oldAreaName));
            text(ws, row, 0, kSinceNewArea, bold);
            text(ws, row++, 1, area(newAreaId, newAreaName));
            text(ws, row, 0, kSinceColumns, bold);
            number(ws, row++, 1, since.columns);
            for (int r = 0; r < eSinceReasonCount; ++r) {
                text(ws, row, 0, kSinceReasonNames[r]);
                number(ws, row++, 1, since.perReason[size_t(r)]);
            }
            ++row;
        }
        for (int c = 0; c < header.size(); ++c)
            text(ws, row, c, header[c], bold);
        for (++row; done < since.entries.size() && size_t(row) <= kLastRow && err == LXW_NO_ERROR; ++done, ++row) {
            const SinceEntry& e = since.entries[done];
            QStringList reasons;
            for (const int r : e.reasons)
                reasons << kSinceReasonNames.value(r);
            const QString cells[] = {
                e.table,  e.column,     e.attribute, e.dataType, reasons.join(QStringLiteral(", ")),
                e.detail, e.oldVerdict, e.newVerdict};
            for (int c = 0; c < 8; ++c)
                text(ws, row, c, cells[c]);
        }
    }
    return err;
}

} // namespace Conformance
