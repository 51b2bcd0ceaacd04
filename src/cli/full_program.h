#pragma once

// corvex-cli is two programs to the linker and one to a user. corvex-cli runs the commands of src/cli
// itself, without the serial port, Access and printing libraries whose loading would slow every database
// command; the commands of src/cli/full (the clock, the Access import, PDF documents, batches) and the help
// are handed over to corvex-cli-full, which links everything. The files of src/cli/full fill this in, so
// main.cpp is the same in both programs and knows which one it is.

#include <QString>
#include <memory>

class QCoreApplication;
struct RaceResult;
struct FiguredRace;

struct FullProgram {
    // Makes the application object the run needs (a GUI one to draw documents).
    std::unique_ptr<QCoreApplication> (*makeApplication)(int& argc, char* argv[]) = nullptr;
    // Draws a report to a PDF file; false with the reason when it cannot (not in a batch, a write failed).
    bool (*writeReportPdf)(const RaceResult& result, const QString& file, QString* error) = nullptr;
    // Draws a race's figured result to a PDF file, as the results window prints it.
    bool (*writeResultPdf)(const FiguredRace& result, const QString& file, QString* error) = nullptr;
    // Whether a PDF can be drawn in this run (a batch has no GUI application).
    bool (*canDrawPdf)() = nullptr;
};

// Everything unset in corvex-cli.
FullProgram& fullProgram();

// Drawing a PDF (--pdf) needs fonts, which only a GUI application has; it runs without a screen.
bool drawsDocuments(int argc, char* argv[]);
