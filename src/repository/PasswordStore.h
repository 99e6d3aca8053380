#pragma once
// Where saved connection passwords live: the system keychain through QtKeychain, never a file.
// The profile store talks to the interface, so tests put a fake keychain behind it.
#include <QString>
#include <optional>

class IPasswordStore
{
public:
    virtual ~IPasswordStore() = default;
    // False (with the reason) when no keychain service answers; nothing can be saved then.
    virtual bool IsAvailable(QString* reason = nullptr) = 0;
    virtual bool Write(const QString& key, const QString& password, QString* error = nullptr) = 0;
    // Empty when the key holds nothing or the keychain cannot be reached.
    virtual std::optional<QString> Read(const QString& key) = 0;
    virtual void Remove(const QString& key) = 0;
};

// QtKeychain without its plain-text fallback. Any keychain error reads as "no keychain": these
// machines often have no secret service and a write then fails with an unknown error.
class CKeychainPasswordStore : public IPasswordStore
{
public:
    explicit CKeychainPasswordStore(const QString& service = QStringLiteral("Termwise"));
    bool IsAvailable(QString* reason = nullptr) override;
    bool Write(const QString& key, const QString& password, QString* error = nullptr) override;
    std::optional<QString> Read(const QString& key) override;
    void Remove(const QString& key) override;

private:
    QString m_service;
    int m_available = -1; // probed once: -1 unknown, 0 no, 1 yes
    QString m_reason;
};
