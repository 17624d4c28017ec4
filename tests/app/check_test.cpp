#include "app/templatecheck.h"
#include "support/testdirs.h"

#include "store/inidocument.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

/// Line (from 1) of the first line of bytes holding marker.
int lineOf(const QByteArray& bytes, const QByteArray& marker)
{
    const qsizetype at = bytes.indexOf(marker);
    return at < 0 ? -1 : int(bytes.first(at).count('\n')) + 1;
}

struct Breakage {
    const char* name;
    QString file;      // relative to the program folder
    QByteArray from;   // replaced once; empty: to is appended
    QByteArray to;
    QByteArray marker; // the message's line holds this
    QString message;   // part of the message
};

QByteArray manyObjects()
{
    QByteArray out;
    for (int n = 24; n <= 51; ++n)
        out += "[object" + QByteArray::number(n) + "]\r\nobjtype=malben\r\nobjdim=0,0,10,10\r\n";
    return out;
}

TEST(TemplateCheck, EachBreakageIsReportedOnItsLine)
{
    const QString tpl = QStringLiteral("templates/birthday.ini");
    const QString store = QStringLiteral("templates/textdata.txt");
    const QList<Breakage> cases = {
        {"case slip", tpl, "objtype=circle", "objtype=Circle", "objtype=Circle", "did you mean \"circle\"?"},
        {"unknown word", tpl, "objtype=polygon", "objtype=star", "objtype=star", "unknown objtype \"star\""},
        {"gap", tpl, "[object5]", "[object5x]", "[object6]", "object5 is missing"},
        {"not a number", tpl, "circdim=560,1650,240", "circdim=560,1650,abc", "circdim=560", "\"abc\" is not a number"},
        {"too few parts", tpl, "objdim=450,450,11006,2700", "objdim=450,450,11006", "objdim=450,450,", "has 3 parts, needs 4"},
        {"negative size", tpl, "circdim=560,1650,240", "circdim=560,1650,-240", "circdim=560", "negative width"},
        {"outside the page", tpl, "objdim=7160,5750,20,9100", "objdim=7160,5750,20,19100", "objdim=7160", "outside the page"},
        {"star not drawn", tpl, "polyparam=16,0.8", "polyparam=16.5,0.8", "polyparam=16.5", "the star is not drawn"},
        {"fill not a colour", tpl, "polyparam=16,0.8\r\nFILLCOLOR=2670325", "polyparam=16,0.8\r\nFILLCOLOR=red",
         "FILLCOLOR=red", "not a colour number"},
        {"logo not in the database", tpl, test::ansi(u"type=חדשות יום ההולדת"_qs), "type=No Such Logo",
         "type=No Such", "not in table logobank"},
        {"picture file missing", tpl, test::ansi(u"picname=עוגת יום הולדת"_qs), "picname=cake.png", "picname=cake",
         "temppic/cake.png is missing"},
        {"page too large", tpl, "size=11906,16838", "size=11906,2000000", "size=11906,2", "larger than the 450000 twips"},
        {"full in a fixed text", tpl, "177,60,left,0", "177,60,full,0", "177,60,full", "editable texts only"},
        {"identifier of a template not named", tpl, "id=101", "id=102", "id=102", "also the one of wedding"},
        {"direction in capitals", tpl, "align=rtl", "align=LTR", "align=LTR", "the page is right to left"},
        {"colour button in capitals", tpl, "showbot=true", "showbot=True", "showbot=True", "button stays hidden"},
        {"identifier length", tpl, "id=101", "id=1010", "id=1010", "not three characters"},
        {"lone LF", tpl, "id=101\r\n", "id=101\n", "id=101", "lone LF"},
        {"not Windows-1255", tpl, {}, "; " + QString(u"אבא"_qs).toUtf8() + "\r\n", "; " + QString(u"אבא"_qs).toUtf8(),
         "looks like UTF-8"},
        {"more than 50 objects", tpl, {}, manyObjects(), "[object51]", "at most 50"},
        {"version picture missing", store, "pic10=birthday_beach.jpg", "pic10=gone.jpg", "pic10=gone", "temppic/gone.jpg is missing"},
        {"short row format", store, "col8=8388608,Frank Ruehl,40,True,177~", "col8=8388608,Frank Ruehl,40,True~",
         "col8=8388608", "row 1 format"},
        {"version above ten", store, {}, "[tav101girsa12]\r\ntxt0=ok\r\n", "[tav101girsa12]", "only versions 1 to 10"},
        {"version after a gap", store, {}, "[tav101girsa4]\r\ntxt0=ok\r\n", "[tav101girsa4]", "version 3 is missing"},
        {"language entry", QStringLiteral("language/english.lng"), "title.Caption=", "titleCaption=", "titleCaption",
         "is not widget.Property=value"},
        {"message entry", QStringLiteral("language/english.lng"), "attention=Attention", "attention Attention",
         "attention Attention", "is not key=value"},
    };
    for (const Breakage& c : cases) {
        SCOPED_TRACE(c.name);
        test::ProgramFolder folder;
        QByteArray bytes = folder.read(c.file);
        if (c.from.isEmpty()) {
            bytes += c.to;
        } else {
            ASSERT_TRUE(bytes.contains(c.from));
            bytes.replace(bytes.indexOf(c.from), c.from.size(), c.to);
        }
        folder.write(c.file, bytes);
        const auto outcome = nuvela::checkProgramFolder(folder.path(), {QStringLiteral("birthday")},
                                                        nuvela::Edition::Main);
        ASSERT_EQ(outcome.problems.size(), 1);
        const auto& p = outcome.problems.front();
        EXPECT_EQ(p.file, folder.file(c.file));
        EXPECT_EQ(p.line, lineOf(bytes, c.marker));
        EXPECT_TRUE(p.message.contains(c.message)) << qPrintable(p.message);
    }
}

// A file the program would not read is said so once, on its first line,
// and the check ends: a link to a device or a FIFO is not read at all.
TEST(TemplateCheck, FilesTheProgramWouldNotReadAreSaidSoOnce)
{
    const QString store = QStringLiteral("templates/textdata.txt");
    struct Case { const char* name; QByteArray bytes; const char* message; };
    const Case cases[] = {
        {"UTF-16", QByteArray("\xFF\xFE[\0i\0]\0\r\0\n\0", 12), "holds NUL bytes, as UTF-16 text does"},
        {"too many lines", QByteArray("\r").repeated(nuvela::IniDocument::kMaxLines + 1), "more than the 500000"},
        {"device", "/dev/zero", "not a regular file"},
        {"FIFO", "fifo", "not a regular file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::ProgramFolder folder;
        const QString path = folder.file(store);
        QFile::remove(path);
        if (c.bytes == "/dev/zero")
            ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), path));
        else if (c.bytes == "fifo")
            ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else
            folder.write(store, c.bytes);
        const auto outcome = nuvela::checkProgramFolder(folder.path(), {QStringLiteral("birthday")},
                                                        nuvela::Edition::Main);
        ASSERT_EQ(outcome.problems.size(), 1);
        EXPECT_EQ(outcome.problems.front().file, path);
        EXPECT_EQ(outcome.problems.front().line, 1);
        EXPECT_TRUE(outcome.problems.front().message.contains(QLatin1String(c.message)))
            << qPrintable(outcome.problems.front().message);
    }
}

TEST(TemplateCheck, ExitStatusAndOutput)
{
    test::ProgramFolder broken;
    QByteArray bytes = broken.read(QStringLiteral("templates/wedding.ini"));
    bytes.replace("objtype=malben", "objtype=Malben");
    broken.write(QStringLiteral("templates/wedding.ini"), bytes);
    struct Run { QStringList args; int exit; QString out; };
    const QList<Run> runs = {
        {{QStringLiteral("--program-dir"), test::stagedDataDir()}, 0, {}}, // the shipped folder is clean
        {{QStringLiteral("--program-dir"), broken.path()}, 1, broken.file(QStringLiteral("templates/wedding.ini")) + u':'},
        {{QStringLiteral("--program-dir"), broken.path(), QStringLiteral("birthday")}, 0, {}},
        {{QStringLiteral("--program-dir"), broken.path(), QStringLiteral("nosuch")}, 2, {}},
        {{QStringLiteral("--program-dir"), QDir::tempPath() + QStringLiteral("/no-such-folder")}, 2, {}},
    };
    for (const Run& r : runs) {
        const test::Run p = test::runProgram(QStringLiteral(NUVELA_RENDER_EXE), QStringList{QStringLiteral("--check")} + r.args);
        EXPECT_EQ(p.exitCode, r.exit) << qPrintable(r.args.join(u' '));
        const QString& out = p.out;
        if (r.out.isEmpty())
            EXPECT_TRUE(out.isEmpty()) << qPrintable(out);
        else
            EXPECT_TRUE(out.startsWith(r.out)) << qPrintable(out);
    }
}

} // namespace
