// A 10 MB paste (Ctrl+V) into each kind of text box of the input and exit windows. The figure
// is the time from the key press until the box holds what it keeps.

#include "app/frmMain.h"
#include "promo/frmExit.h"
#include "ui/Messages.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr qsizetype pastedCharacters = 10 * 1000 * 1000;

// Refusals are counted, not shown: a message box would wait for a click.
void CountRefusalsOnly() {
    SetMessageHandler([](MessageIcon, const QString&) {});
}

// The windows are made once; each run empties the box, puts the text on the clipboard and
// presses Ctrl+V in the box.
frmMain* inputWindow() {
    static frmMain* window = [] {
        CountRefusalsOnly();
        auto* made = new frmMain;
        made->show();
        return made;
    }();
    return window;
}

frmExit* exitWindowForBench() {
    static frmExit* window = [] {
        CountRefusalsOnly();
        auto* made = new frmExit;
        made->show();
        return made;
    }();
    return window;
}

void PressPaste(QWidget* box) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
    QApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
    QApplication::sendEvent(box, &release);
}

void Empty(QWidget* box) {
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        line->setText(QString());
    } else if (auto* lines = qobject_cast<QPlainTextEdit*>(box)) {
        lines->setPlainText(QString());
    }
}

qsizetype Length(QWidget* box) {
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        return line->text().size();
    }
    return qobject_cast<QPlainTextEdit*>(box)->toPlainText().size();
}

void PasteInto(benchmark::State& state, QWidget* window, const char* name, const QString& text) {
    auto* box = window->findChild<QWidget*>(QString::fromLatin1(name));
    if (!box) {
        state.SkipWithError("no such box");
        return;
    }
    box->setFocus();
    QGuiApplication::clipboard()->setText(text);
    for (auto _ : state) {
        state.PauseTiming();
        Empty(box);
        state.ResumeTiming();
        PressPaste(box);
    }
    state.counters["kept"] = double(Length(box));
    state.SetBytesProcessed(state.iterations() * text.size() * qsizetype(sizeof(QChar)));
}

QString Letters() {
    return QStringLiteral("abcdefghij").repeated(pastedCharacters / 10);
}
QString Digits() {
    return QStringLiteral("0123456789").repeated(pastedCharacters / 10);
}
QString Words() {
    return QStringLiteral("Oslo Rome ").repeated(pastedCharacters / 10);
}

void BM_InputName(benchmark::State& state) {
    PasteInto(state, inputWindow(), "txtName", Letters());
}
void BM_InputNameRefusals(benchmark::State& state) {
    PasteInto(state, inputWindow(), "txtName", QStringLiteral("a1").repeated(pastedCharacters / 2));
}
void BM_InputCoordinate(benchmark::State& state) {
    PasteInto(state, inputWindow(), "txtLonD", Digits());
}
void BM_InputPlace(benchmark::State& state) {
    PasteInto(state, inputWindow(), "txtMCity", Words());
}
void BM_ExitName(benchmark::State& state) {
    PasteInto(state, exitWindowForBench(), "txtName", Words());
}
void BM_ExitEmailAccepted(benchmark::State& state) {
    PasteInto(state, exitWindowForBench(), "txtEmail", Digits());
}
void BM_ExitEmailRefused(benchmark::State& state) {
    PasteInto(state, exitWindowForBench(), "txtFriendEmail", Words());
}
void BM_ExitMessage(benchmark::State& state) {
    PasteInto(state, exitWindowForBench(), "txtMessage", Words());
}

BENCHMARK(BM_InputName)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InputNameRefusals)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InputCoordinate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InputPlace)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExitName)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExitEmailAccepted)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExitEmailRefused)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExitMessage)->Unit(benchmark::kMillisecond);

} // namespace
