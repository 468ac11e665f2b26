#pragma once

// The program's own command line: --help and --version, the way GNU programs answer them, and a
// refusal of anything else. Qt's options (-style and the like) are Qt's: QApplication takes them
// out of the argument list before the program reads what is left.

#include <QString>
#include <QStringList>

#include <optional>

struct CommandLineAnswer {
    enum class Kind { Run, Print, Refuse };
    Kind kind = Kind::Run;
    // Print: the text for standard output. Refuse: the one-line message for standard error.
    QString text;
    // 0 after printing, 2 after a refusal; not used for Run.
    int exitStatus = 0;
};

// Exit status of a refused command line, as GNU programs use for a usage fault.
inline constexpr int commandLineRefusedStatus = 2;

// What to do with an argument list whose first element is the program (as
// QCoreApplication::arguments() gives it once Qt's options are gone).
CommandLineAnswer ReadCommandLine(const QStringList& arguments);

// Whether Qt could take anything out of the argument list: it only ever takes arguments that
// start with a dash (and the values following them). The program's own --help and --version are
// not Qt's. When Qt has nothing to take, the answer needs no display and no QApplication.
bool QtMayTakeArguments(const QStringList& arguments);

// Carries out an answer: writes its text and gives the exit status, or nothing for Run.
std::optional<int> CarryOut(const CommandLineAnswer& answer);

// For main before QApplication exists: answers --help, --version and refusals without a display
// when Qt has no option of its own in the list; nothing when the window is to open or Qt must
// first take its options out.
std::optional<int> AnswerCommandLineBeforeQt(int argc, char* argv[]);

// For main after QApplication took its options out.
std::optional<int> AnswerCommandLine(const QStringList& arguments);

// Sets the application's name, version, organization and desktop file name.
void NameApplication();
