#pragma once
// "ChatGPT Logical Extractor": physical column names typed or pasted into a grid are sent to a
// chat-completion service, which answers with their Korean names as a JSON object; the names
// are written beside the columns. The API key is typed each time and kept nowhere.
#include <QDialog>
#include <map>

class CQrTreeGrid;
class QLineEdit;
class QPushButton;

class CChatGPTLogicalNameExtractor : public QDialog
{
    Q_OBJECT
public:
    explicit CChatGPTLogicalNameExtractor(QWidget* parent = nullptr);

    // Seconds to wait for the answer.
    void SetTimeoutSeconds(int seconds) { m_timeoutSeconds = seconds; }
    // "분석 요청".
    void Request();
    // Puts lines of text (the first tab-separated field of each) into column 0 from the row.
    void PasteLines(int fromRow, const QString& text);

    const std::map<QString, QString>& Answer() const { return m_answer; }
    CQrTreeGrid* Grid() const { return m_grid; }
    QLineEdit* KeywordsEdit() const { return m_keywords; }
    QLineEdit* ApiKeyEdit() const { return m_apiKey; }
    QPushButton* RequestButton() const { return m_request; }
    QPushButton* CloseButton() const { return m_close; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int AppendEmptyRow();
    // Keeps one empty row at the end to type or paste into.
    void EnsureEmptyLastRow();
    void SizeColumns();

    CQrTreeGrid* m_grid = nullptr;
    QLineEdit* m_keywords = nullptr;
    QLineEdit* m_apiKey = nullptr;
    QPushButton* m_request = nullptr;
    QPushButton* m_close = nullptr;
    std::map<QString, QString> m_answer;
    int m_timeoutSeconds = 60;
};

// Plugs the dialog into the main window's command.
void RegisterAssistantDialogs();
