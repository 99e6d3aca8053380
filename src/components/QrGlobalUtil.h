#pragma once
#include <QString>

class CQrGlobalUtil
{
public:
    // $TERMWISE_DATA_DIR when set, else <GenericDataLocation>/Quarro. No trailing slash.
    static QString GetPathCommonData();
    // <common data>/standard, created on demand by the callers that write there.
    static QString GetPathStandard();
    static QString GetPathProgram();
    static QString GetComputerNameW();
    // A fresh identifier text; the prefix (may be empty) is put in front.
    static QString GenerateUID(const QString& prefix = QString());
};
