// The logical word form end to end on a 50,000-row workbook: open, designate, analyse, show;
// and on a 200,000-name document, which opens straight into the analysis.
// Also how long the window goes without handling events while it works, and how fast a
// cancel of the progress window stops the analysis.
#include "analysis/LogicalWordAnalysis.h"
#include "components/OutputLog.h"
#include "components/QrExcelSheet.h"
#include "components/QrProgressWnd.h"
#include "components/ui/ProgressDialogBackend.h"
#include "components/ui/QrTreeGrid.h"
#include "components/ui/UiHooks.h"
#include "exchange/AnalysisDocument.h"
#include "forms/ui/AnalyzeLogicalWordForm.h"
#include "settings/AnalyzeSettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace {
constexpr int kRows = 50000;
constexpr int kDocumentNames = 200000;

const char16_t* const kHeads[] = {u"고객",   u"주문", u"상품",   u"배송", u"결제", u"회원", u"매장",   u"직원",
                                  u"거래처", u"계약", u"청구",   u"재고", u"창고", u"쿠폰", u"포인트", u"카드",
                                  u"계좌",   u"보험", u"대출",   u"예금", u"공급", u"구매", u"판매",   u"반품",
                                  u"교환",   u"광고", u"캠페인", u"고지", u"납부", u"환불", u"정산",   u"세금",
                                  u"원장",   u"부서", u"사업",   u"과제", u"설비", u"자재", u"품질",   u"검사"};
const char16_t* const kMiddles[] = {u"변경", u"등록", u"최종", u"최초", u"기준", u"대표", u"상세", u"요청", u"승인",
                                    u"취소", u"예정", u"실제", u"누적", u"월간", u"연간", u"일별", u"이전", u"다음",
                                    u"임시", u"확정", u"처리", u"발행", u"수정", u"삭제", u"복구", u"보류", u"완료",
                                    u"대기", u"진행", u"종료", u"개시", u"해지", u"갱신", u"연장", u"분할"};
const char16_t* const kClasses[] = {u"번호", u"명",   u"일자", u"일시", u"금액", u"수량", u"코드", u"여부", u"내용",
                                    u"율",   u"점수", u"순번", u"건수", u"구분", u"유형", u"상태", u"주소", u"전화번호",
                                    u"비고", u"설명", u"비율", u"단가", u"잔액", u"한도", u"기간", u"시각", u"자리",
                                    u"횟수", u"등급", u"값",   u"크기", u"길이", u"무게", u"면적", u"위치", u"방법"};

struct Fixture
{
    QTemporaryDir dir;
    QString book;
    Fixture()
    {
        qputenv("TERMWISE_DATA_DIR", dir.path().toLocal8Bit());
        CAnalyzeSettings& settings = CAnalyzeSettings::Instance();
        // Most words known, some not: a realistic half-finished dictionary.
        int n = 0;
        for (const char16_t* w : kHeads)
            if (++n % 4 != 0)
                settings.AddWord(QStringLiteral("H%1").arg(n), QString::fromUtf16(w), _stAnalyzeManageWord());
        for (const char16_t* w : kMiddles)
            if (++n % 3 != 0)
                settings.AddWord(QStringLiteral("M%1").arg(n), QString::fromUtf16(w), _stAnalyzeManageWord());
        for (const char16_t* w : kClasses)
            settings.AddWord(QStringLiteral("C%1").arg(++n), QString::fromUtf16(w), _stAnalyzeManageWord());

        book = dir.filePath(QStringLiteral("attrs50k.xlsx"));
        CQrExcelSheet sheet(true);
        sheet.OpenFile(book, true);
        sheet.SetRowDataRange({QStringLiteral("속성명"), QStringLiteral("컬럼명"), QStringLiteral("정의")}, 0);
        const int heads = int(std::size(kHeads)), middles = int(std::size(kMiddles)),
                  classes = int(std::size(kClasses));
        for (int i = 0; i < kRows; ++i) {
            const QString name = QString::fromUtf16(kHeads[i % heads]) +
                                 QString::fromUtf16(kMiddles[(i / heads) % middles]) +
                                 QString::fromUtf16(kClasses[(i / (heads * middles)) % classes]);
            sheet.SetRowDataRange({name, QStringLiteral("COL_%1").arg(i), name + QStringLiteral(" 의 정의")}, i + 1);
        }
        sheet.Save(1);
    }
};

Fixture& Shared()
{
    static Fixture fixture;
    return fixture;
}

// 200,000 distinct names (the workbook's three parts and a second middle word), with column
// name and definition, saved as the form saves its analysis.
const QString& Document()
{
    static const QString path = [] {
        Shared();
        const QString file = Shared().dir.filePath(QStringLiteral("attrs200k.ztsl"));
        LogicalWordAnalysis engine(&CAnalyzeSettings::Instance());
        const int heads = int(std::size(kHeads)), middles = int(std::size(kMiddles)),
                  classes = int(std::size(kClasses));
        for (int i = 0; i < kDocumentNames; ++i) {
            const QString name = QString::fromUtf16(kHeads[i % heads]) +
                                 QString::fromUtf16(kMiddles[(i / heads) % middles]) +
                                 QString::fromUtf16(kMiddles[(i / (heads * middles)) % middles]) +
                                 QString::fromUtf16(kClasses[(i / (heads * middles * middles)) % classes]);
            const QString column = QStringLiteral("COL_%1").arg(i), definition = name + QStringLiteral(" 의 정의");
            engine.AddSourceRow(name, &column, &definition, nullptr);
        }
        engine.Analyze();
        AnalysisDocument::Save(engine, file);
        return file;
    }();
    return path;
}

// Longest stretch without a 5 ms timer being served while fn runs.
template <class Fn> qint64 LongestStall(Fn fn)
{
    QElapsedTimer since;
    since.start();
    qint64 longest = 0;
    QTimer tick;
    tick.setInterval(5);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = std::max(longest, since.elapsed());
        since.restart();
    });
    tick.start();
    fn();
    longest = std::max(longest, since.elapsed());
    return longest;
}

void OpenDesignated(CAnalyzeLogicalWordForm& form)
{
    CQrFileDialog::SetHook([](bool, const QString&) { return Shared().book; });
    CQrPopupMenu::SetHook(
        [](QMenu* menu) { return CQrPopupMenu::FindAction(menu, QStringLiteral("속성명 지정 (필수)")); });
    form.OpenButton()->click();
    form.ExcludeFirstRowCheck()->setChecked(true);
    const QModelIndex cell = form.Grid()->Model()->IndexOf(1, 0);
    const QPoint pos = form.Grid()->visualRect(cell).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, form.Grid()->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(form.Grid()->viewport(), &event);
}

void BM_LogicalFormOpenAnalyseShow(benchmark::State& state)
{
    Shared();
    double openMs = 0, analyseMs = 0, stallMs = 0;
    int targets = 0;
    for (auto _ : state) {
        CAnalyzeLogicalWordForm form;
        form.resize(1400, 900);
        form.show();
        QElapsedTimer clock;
        clock.start();
        qint64 stall = LongestStall([&] { OpenDesignated(form); });
        openMs = double(clock.elapsed());
        clock.restart();
        stall = std::max(stall, LongestStall([&] { form.AnalyzeButton()->click(); }));
        QApplication::processEvents();
        analyseMs = double(clock.elapsed());
        stallMs = double(stall);
        targets = form.Engine().Inputs().size();
        if (form.Mode() != 2)
            state.SkipWithError("the analysis did not finish");
    }
    state.counters["open_ms"] = openMs;
    state.counters["analyse_show_ms"] = analyseMs;
    state.counters["total_ms"] = openMs + analyseMs;
    state.counters["longest_stall_ms"] = stallMs;
    state.counters["targets"] = targets;
}
BENCHMARK(BM_LogicalFormOpenAnalyseShow)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LogicalFormDocument200k(benchmark::State& state)
{
    const QString& document = Document();
    double totalMs = 0, stallMs = 0, closeMs = 0, closeStallMs = 0, foldStallMs = 0;
    int targets = 0;
    for (auto _ : state) {
        auto form = std::make_unique<CAnalyzeLogicalWordForm>();
        form->resize(1400, 900);
        form->show();
        CQrFileDialog::SetHook([&](bool, const QString&) { return document; });
        QElapsedTimer clock;
        clock.start();
        stallMs = double(LongestStall([&] { form->OpenButton()->click(); }));
        QApplication::processEvents();
        totalMs = double(clock.elapsed());
        targets = int(form->Engine().Results().size());
        if (form->Mode() != 2)
            state.SkipWithError("the analysis did not finish");
        // Folding a target in the middle and unfolding it again, each laid out and painted.
        CQrTreeGrid* grid = form->Grid();
        const int middle = grid->GetParentTopRow(grid->GetRowCount() / 2);
        foldStallMs = 0;
        for (bool expand : {false, true}) {
            foldStallMs = std::max(foldStallMs, double(LongestStall([&] {
                                       grid->ExpandRow(middle, expand);
                                       QApplication::processEvents();
                                   })));
        }
        // Closing: the form goes, and whatever it leaves to later turns of the event loop runs.
        clock.restart();
        closeStallMs = double(LongestStall([&] {
            form.reset();
            QElapsedTimer idle;
            idle.start();
            while (idle.elapsed() < 1500)
                QApplication::processEvents(QEventLoop::AllEvents, 5);
        }));
        closeMs = double(clock.elapsed()) - 1500;
    }
    state.counters["open_analyse_show_ms"] = totalMs;
    state.counters["longest_stall_ms"] = stallMs;
    state.counters["close_ms"] = closeMs;
    state.counters["close_stall_ms"] = closeStallMs;
    state.counters["fold_stall_ms"] = foldStallMs;
    state.counters["targets"] = targets;
}
BENCHMARK(BM_LogicalFormDocument200k)->Unit(benchmark::kMillisecond)->Iterations(2);

// Cancel pressed 10 ms into the analysis: how soon the form is usable again, and how much
// of the work was done.
void BM_LogicalFormCancel(benchmark::State& state)
{
    Shared();
    double stopMs = 0;
    int done = 0, targets = 0;
    for (auto _ : state) {
        CAnalyzeLogicalWordForm form;
        form.show();
        OpenDesignated(form);
        auto* backend = static_cast<CProgressDialogBackend*>(CQrProgressWnd::Backend());
        QElapsedTimer clock;
        QTimer::singleShot(10, [&] {
            clock.start();
            if (QProgressDialog* dialog = backend->Dialog())
                dialog->cancel();
        });
        form.AnalyzeButton()->click();
        stopMs = clock.isValid() ? double(clock.elapsed()) : -1;
        done = int(form.Engine().Results().size());
        targets = int(form.Engine().Inputs().size());
    }
    state.counters["cancel_to_idle_ms"] = stopMs;
    state.counters["targets_done"] = done;
    state.counters["targets"] = targets;
}
BENCHMARK(BM_LogicalFormCancel)->Unit(benchmark::kMillisecond)->Iterations(1);
} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    OutputLog::SetSink([](const QString&) {});
    CQrProgressWnd::SetBackend(std::make_unique<CProgressDialogBackend>());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    CQrProgressWnd::SetBackend(nullptr);
    CAnalyzeSettings::DestroyInstance();
    return 0;
}
