#include "assistants/ui/ChatGPTLogicalNameExtractor.h"

#include "assistants/AssistantTexts.h"
#include "assistants/ChatCompletionClient.h"
#include "assistants/LogicalNameExtraction.h"
#include "components/QrProgressWnd.h"
#include "components/ui/QrMessageBox.h"
#include "components/ui/QrTreeGrid.h"
#include "components/ui/ShellCommands.h"
#include "settings/AnalyzeSettings.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QColor kGrey = CQrTreeGrid::FromWinColor(CQrTreeGrid::ColorLightGrey);
}

CChatGPTLogicalNameExtractor::CChatGPTLogicalNameExtractor(QWidget* parent) : QDialog(parent)
{
    using namespace AssistantTexts;
    setWindowTitle(ChatTitle);
    resize(640, 560);

    m_keywords = new QLineEdit(this);
    m_keywords->setPlaceholderText(KeywordsCue);
    m_apiKey = new QLineEdit(this);
    m_apiKey->setPlaceholderText(ApiKeyCue);
    m_apiKey->setEchoMode(QLineEdit::Password); // typed each time, never shown
    m_grid = new CQrTreeGrid(this);
    m_grid->setRootIsDecorated(false);
    m_grid->SetColumns(GridColumns);
    m_request = new QPushButton(AssistantTexts::RequestButton, this);
    m_close = new QPushButton(AssistantTexts::CloseButton, this);
    m_request->setDefault(true);
    m_close->setAutoDefault(false);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(KeywordsLabel, this), 0, 0);
    fields->addWidget(m_keywords, 0, 1);
    fields->addWidget(new QLabel(ApiKeyLabel, this), 1, 0);
    fields->addWidget(m_apiKey, 1, 1);
    fields->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_request);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(new QLabel(ColumnsLabel, this));
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);

    AppendEmptyRow();
    m_grid->installEventFilter(this);
    connect(m_grid, &CQrTreeGrid::CellEdited, this, [this] { EnsureEmptyLastRow(); });
    connect(m_request, &QPushButton::clicked, this, &CChatGPTLogicalNameExtractor::Request);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

int CChatGPTLogicalNameExtractor::AppendEmptyRow()
{
    const int row = m_grid->InsertRow(1);
    m_grid->SetEditableCell(row, 0);
    m_grid->SetReadOnlyCell(row, 1, kGrey);
    return row;
}

void CChatGPTLogicalNameExtractor::EnsureEmptyLastRow()
{
    const int last = m_grid->GetRowCount() - 1;
    if (last < 0 || !m_grid->GetItemText(last, 0).isEmpty())
        AppendEmptyRow();
}

void CChatGPTLogicalNameExtractor::PasteLines(int fromRow, const QString& text)
{
    QStringList lines = text.split(u'\n');
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast(); // a spreadsheet's copy ends with a line break
    int row = std::max(0, fromRow);
    for (QString line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        while (row >= m_grid->GetRowCount())
            AppendEmptyRow();
        m_grid->SetItemText(row++, 0, line.section(u'\t', 0, 0).trimmed());
    }
    EnsureEmptyLastRow();
}

bool CChatGPTLogicalNameExtractor::eventFilter(QObject* watched, QEvent* event)
{
    // the grid's own size, not the dialog's: the layout sizes the grid after the dialog
    if (watched == m_grid && event->type() == QEvent::Resize)
        SizeColumns();
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste)) {
            PasteLines(m_grid->GetCurrentRow(), QApplication::clipboard()->text());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CChatGPTLogicalNameExtractor::SizeColumns()
{
    m_grid->SetColumnWidth(0, std::max(80, m_grid->contentsRect().width() * 40 / 100));
    m_grid->header()->setStretchLastSection(true);
}

void CChatGPTLogicalNameExtractor::Request()
{
    const QString apiKey = m_apiKey->text().trimmed();
    if (apiKey.isEmpty()) {
        CQrMessageBox::Warning(this, AssistantTexts::NoApiKey);
        return;
    }
    QStringList column;
    for (int row = 0; row < m_grid->GetRowCount(); ++row)
        column << m_grid->GetItemText(row, 0);
    const QString prompt =
        LogicalNameExtraction::BuildPrompt(LogicalNameExtraction::CollectNames(column), m_keywords->text());

    const auto endpoint = CChatCompletionClient::ConfiguredEndpoint(CAnalyzeSettings::Instance());
    // a busy bar with a cancel button: the wait can be long and the user may give up
    CQrProgressWnd::Show(0, AssistantTexts::ProgressTitle, AssistantTexts::ProgressText, this, true);
    const ChatCompletionResult result = CChatCompletionClient::Send(endpoint, prompt, apiKey, m_timeoutSeconds,
                                                                    [] { return CQrProgressWnd::IsCanceling(); });
    if (result.status != ChatCompletionResult::Status::Ok) {
        CQrProgressWnd::Hide();
        const QString message = CChatCompletionClient::FailureMessage(result, endpoint, m_timeoutSeconds);
        if (!message.isEmpty())
            CQrMessageBox::Warning(this, message);
        return;
    }
    std::map<QString, QString> answer;
    QString error;
    if (!LogicalNameExtraction::ParseAnswer(result.content, answer, error)) {
        CQrProgressWnd::Hide();
        CQrMessageBox::Warning(this, error);
        return;
    }
    for (const auto& [name, korean] : answer)
        m_answer[name] = korean;
    for (int row = 0; row < m_grid->GetRowCount(); ++row) {
        const auto found = answer.find(m_grid->GetItemText(row, 0));
        if (found != answer.end())
            m_grid->SetItemText(row, 1, found->second);
    }
    m_grid->viewport()->update();
    CQrProgressWnd::Hide();
}

void RegisterAssistantDialogs()
{
    CShellCommands::RegisterCommand(AppCmd::ChatGptExtract,
                                    [](QWidget& frame) { CChatGPTLogicalNameExtractor(&frame).exec(); });
}
