#pragma once
// CADOCommand and CADOParameter: a statement with positional parameters ("?") run on a
// CADODatabase's connection, either for its row count or as a CADORecordset's rows.
#include "repository/AdoDatabase.h"

#include <QVariantList>
#include <vector>

// ADO's CommandTypeEnum, ParameterDirectionEnum and the DataTypeEnum values used here.
namespace AdoType {
constexpr int CmdText = 1;
constexpr int ParamInput = 1;
constexpr int Empty = 0;
constexpr int Integer = 3;
constexpr int Double = 5;
constexpr int Numeric = 131;
constexpr int VarWChar = 202;
} // namespace AdoType

class CAdoParameterObject
{
public:
    CAdoParameterObject(QString name, int type, long size, int direction)
        : m_name(std::move(name)), m_type(type), m_size(size), m_direction(direction)
    {
    }
    QString Name() const { return m_name; }
    int Type() const { return m_type; }
    long Size() const { return m_size; }
    int Direction() const { return m_direction; }
    int Precision() const { return m_precision; }
    int NumericScale() const { return m_scale; }
    QVariant Value() const { return m_value; }
    void SetPrecision(int precision) { m_precision = precision; }
    void SetNumericScale(int scale) { m_scale = scale; }
    void SetValue(const QVariant& value) { m_value = value; }

private:
    QString m_name;
    int m_type;
    long m_size;
    int m_direction;
    int m_precision = 0;
    int m_scale = 0;
    QVariant m_value;
};
using AdoParameterPtr = std::shared_ptr<CAdoParameterObject>;

class CADOParameter
{
public:
    explicit CADOParameter(int type = AdoType::VarWChar, long size = 0, int direction = AdoType::ParamInput,
                           const QString& name = {});
    // Wraps an existing parameter object (empty: every call throws E_POINTER).
    explicit CADOParameter(AdoParameterPtr parameter);
    virtual ~CADOParameter();
    CADOParameter(const CADOParameter&) = default;
    CADOParameter& operator=(const CADOParameter&) = default;

    void SetValue(const QVariant& value);
    QVariant GetValue() const;
    void SetPrecision(int precision);
    void SetScale(int scale);
    // The wrapper's name only; the parameter object keeps the name it was made with.
    void SetName(const QString& name) { m_name = name; }
    QString GetName() const { return m_name; }
    int GetType() const { return m_type; }
    AdoParameterPtr GetParameter() const { return m_parameter; }

private:
    CAdoParameterObject& Parameter() const;

    AdoParameterPtr m_parameter;
    QString m_name;
    int m_type = AdoType::Empty;
};

class CAdoCommandObject
{
public:
    AdoConnectionPtr connection;
    QString text;
    long timeoutSeconds = 30;
    std::vector<AdoParameterPtr> parameters;
};
using AdoCommandPtr = std::shared_ptr<CAdoCommandObject>;

class CADOCommand
{
public:
    CADOCommand(const CADODatabase& database, const QString& text = {}, int type = AdoType::CmdText);
    // Wraps an existing command object (empty: every call throws E_POINTER).
    explicit CADOCommand(AdoCommandPtr command);
    virtual ~CADOCommand();
    CADOCommand(const CADOCommand&) = default;
    CADOCommand& operator=(const CADOCommand&) = default;

    void SetText(const QString& text);
    void SetTimeout(long seconds);
    // Appends a parameter; values bind to the "?" marks in the order appended.
    void AddParameter(const CADOParameter& parameter);
    // Runs the statement; the count of rows it touched. Throws with the driver's message.
    long Execute();

    int GetType() const { return m_type; }
    long GetRecordsAffected() const { return m_recordsAffected; }
    QString GetText() const { return m_text; }
    QString GetLastErrorString() const { return m_lastErrorString; }
    AdoCommandPtr GetCommand() const { return m_command; }
    AdoConnectionPtr GetActiveConnection() const;
    QVariantList ParameterValues() const;

private:
    CAdoCommandObject& Command() const;

    AdoCommandPtr m_command;
    int m_type = AdoType::CmdText;
    long m_recordsAffected = 0;
    QString m_text;
    QString m_lastErrorString;
};
