#pragma once
// What the judge of a column hands to the fix script: the standard names one column should
// carry, or nothing where the standard is not unambiguous. Kept apart from both so that the
// judge and the script can change without each other.
#include <QString>

struct ColumnStandard
{
    QString logicalName;    // read at the head of the comment, its number kept ("설명1")
    QString description;    // the rest of the comment after the name, kept by a rewrite
    QString standardName;   // the standard logical name (a term synonym's term); empty: none
    QString standardColumn; // the standard physical name with the column's number; empty: none
    QString reason;         // the finding that calls for the change, for the script's comment
    QString typeNote;       // the type or length that differs from the domain; empty: fits
};
