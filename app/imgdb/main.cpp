// nuvela-imgdb: makes and fills the image database that headlines take their
// logos from ("logobank") and fixed pictures their stock pictures ("fixpic").

#include "app/imgdb/image_store.h"
#include "app/librarychatter.h"
#include "render/imagedb/sqlite_database.h"
#include "store/outputfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>
#include <new>

namespace {

using nuvela::imgdb::Outcome;

// Exit codes: a command that failed, and a command line that was not understood.
constexpr int kFailed = 1;
constexpr int kUsage = 2;

constexpr const char* kUsageText = R"(Usage: nuvela-imgdb COMMAND DATABASE [ARGUMENTS]

Commands:
  create  DATABASE                      make a new, empty image database
  add     DATABASE TABLE TITLE PICTURE  store a picture file under TITLE; an existing
                                        picture of that title is replaced
  list    DATABASE TABLE                print the titles of TABLE, one a line
  extract DATABASE TABLE TITLE FILE     write the picture of TITLE to FILE

TABLE is logobank (headline logos, found by a headline's type) or fixpic (stock
pictures, found by a fixed picture's name). Pictures are BMP, GIF, JPEG or PNG
files; logos keep pure blue (0,0,255) as their transparent background, so store
them as PNG, BMP or GIF, never as JPEG.
The program folder holds nvdb.db (main edition) and lmndb.db (sibling edition).
)";

// Decoder libraries (libpng) print their own complaints on the error
// stream; while the tool works that stream is muted, and only its own one
// line reaches the user.
nuvela::LibraryChatterMuted* muted = nullptr;

void printLine(FILE* stream, const QString& text)
{
    const int fd = stream == stderr ? (muted ? muted->errorStream() : STDERR_FILENO)
                                    : (muted ? muted->outputStream() : STDOUT_FILENO);
    nuvela::writeLine(fd, text);
}

int report(const Outcome& outcome)
{
    if (!outcome.ok()) {
        printLine(stderr, QStringLiteral("Error: ") + outcome.error);
        return kFailed;
    }
    printLine(stdout, outcome.message);
    return 0;
}

int fail(const QString& error) { return report(Outcome { error, QString() }); }

int usage(const QString& problem)
{
    if (!problem.isEmpty())
        printLine(stderr, QStringLiteral("Error: ") + problem);
    printLine(problem.isEmpty() ? stdout : stderr, QString::fromUtf8(kUsageText).chopped(1));
    return problem.isEmpty() ? 0 : kUsage;
}

int add(const QString& database, const QString& table, const QString& title, const QString& pictureFile)
{
    if (QFileInfo::exists(pictureFile) && !QFileInfo(pictureFile).isFile())
        return fail(QStringLiteral("Cannot read %1: not a regular file").arg(pictureFile));
    QFile file(pictureFile);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Cannot read %1: %2").arg(pictureFile, file.errorString()));
    return report(nuvela::imgdb::putPicture(database, table, title, file.readAll()));
}

int list(const QString& database, const QString& table)
{
    if (!nuvela::imgdb::isPictureTable(table))
        return usage(QStringLiteral("unknown table %1").arg(table));
    QString error;
    const QStringList titles = nuvela::readSqliteTitles(database, table, error);
    if (!error.isEmpty())
        return fail(error);
    for (const QString& title : titles)
        printLine(stdout, title);
    return 0;
}

int extract(const QString& database, const QString& table, const QString& title, const QString& target)
{
    if (!nuvela::imgdb::isPictureTable(table))
        return usage(QStringLiteral("unknown table %1").arg(table));
    QString error;
    const QByteArray bytes = nuvela::readSqlitePicture(database, table, title, error);
    if (!error.isEmpty())
        return fail(error == u"No record data" ? QStringLiteral("no picture \"%1\" in %2").arg(title, table) : error);
    if (const auto written = nuvela::writeOutputFile(target, bytes); !written.ok())
        return fail(written.error);
    return report(Outcome { QString(), QStringLiteral("Wrote %1 (%2 bytes)").arg(target).arg(bytes.size()) });
}

int run(const QStringList& args)
{
    if (args.isEmpty() || args[0] == u"--help" || args[0] == u"-h" || args[0] == u"help")
        return usage(args.isEmpty() ? QStringLiteral("no command given") : QString());
    const QString& command = args[0];
    const qsizetype count = args.size() - 1;
    if (command == u"create" && count == 1)
        return report(nuvela::imgdb::createDatabase(args[1]));
    if (command == u"add" && count == 4)
        return add(args[1], args[2], args[3], args[4]);
    if (command == u"list" && count == 2)
        return list(args[1], args[2]);
    if (command == u"extract" && count == 4)
        return extract(args[1], args[2], args[3], args[4]);
    const QStringList known { QStringLiteral("create"), QStringLiteral("add"), QStringLiteral("list"),
                              QStringLiteral("extract") };
    if (known.contains(command))
        return usage(QStringLiteral("wrong number of arguments for %1").arg(command));
    return usage(QStringLiteral("unknown command %1").arg(command));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    nuvela::LibraryChatterMuted quiet(false);
    muted = &quiet;
    int code = kFailed;
    try {
        code = run(app.arguments().mid(1));
    } catch (const std::bad_alloc&) {
        code = fail(QStringLiteral("There is not enough memory for this command."));
    }
    muted = nullptr;
    return code;
}
