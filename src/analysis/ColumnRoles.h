#pragma once
// Which sheet column holds which role of a form (-1: not designated). A role holds one
// column and a column holds one role.
#include <QString>
#include <QStringList>
#include <QVector>
#include <vector>

class ColumnRoles
{
public:
    explicit ColumnRoles(int count) : m_columns(size_t(count), -1) {}

    int Count() const { return int(m_columns.size()); }
    int Column(int role) const { return Valid(role) ? m_columns[size_t(role)] : -1; }
    // Returns the column the role left (-1 when none), for repainting.
    int Designate(int role, int column)
    {
        if (!Valid(role) || column < 0)
            return -1;
        const int previous = m_columns[size_t(role)];
        for (int& held : m_columns) {
            if (held == column)
                held = -1;
        }
        m_columns[size_t(role)] = column;
        return previous == column ? -1 : previous;
    }
    void Cancel(int role)
    {
        if (Valid(role))
            m_columns[size_t(role)] = -1;
    }
    int RoleOf(int column) const
    {
        for (size_t role = 0; role < m_columns.size(); ++role) {
            if (column >= 0 && m_columns[role] == column)
                return int(role);
        }
        return -1;
    }
    void Reset() { m_columns.assign(m_columns.size(), -1); }

private:
    bool Valid(int role) const { return role >= 0 && role < int(m_columns.size()); }
    std::vector<int> m_columns;
};

// Cell text of a sheet row; empty when the row is shorter.
inline QString SheetCell(const QVector<QStringList>& sheet, int row, int column)
{
    if (row < 0 || row >= sheet.size() || column < 0)
        return QString();
    const QStringList& cells = sheet[row];
    return column < cells.size() ? cells[column] : QString();
}
