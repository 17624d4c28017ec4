#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class QProcessEnvironment;

namespace test {

/// Offscreen platform unless the caller chose one (xvfb runs), and a private
/// runtime and state folder so that tests never touch a user's settings or
/// recovery files.
void prepareQtEnvironment();

/// The shipped program folder in the source tree (read-only for tests).
QString sourceDataDir();
/// The staged copy the build makes of it.
QString stagedDataDir();
/// Shared test files that are not ours to ship (may be absent).
QString sharedTestData(const QString& name);

/// A program folder in a temporary directory, for tests that write: a fresh
/// copy of the staged shipped folder, or an empty one with templates/ and
/// temppic/.
class ProgramFolder {
public:
    enum class Start { Shipped, Empty };
    explicit ProgramFolder(Start start = Start::Shipped);
    QString path() const { return dir_.path(); }
    QString file(const QString& relative) const;
    /// Writes bytes as they stand (callers give Windows-1255 with CR LF).
    void write(const QString& relative, const QByteArray& bytes) const;
    QByteArray read(const QString& relative) const;

private:
    QTemporaryDir dir_;
};

/// A whole file's bytes (empty when it cannot be read); writing makes its folder.
QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);

/// What a program said: its exit status (-1 when it crashed or hung) and its output.
struct Run { int exitCode = -1; QString out, err; };
/// Runs a program to its end, in the given environment or this process's.
Run runProgram(const QString& program, const QStringList& args, const QProcessEnvironment* environment = nullptr);
/// Runs a helper program (poppler-utils) and gives its standard output.
QString runTool(const QString& tool, const QStringList& args);

/// UTF-8 source text to Windows-1255 bytes with every "\n" turned into CR LF.
QByteArray ansi(const QString& text);

} // namespace test
