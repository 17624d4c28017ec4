#pragma once

#include "windows/common/colournumber.h"

#include <QFont>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <deque>
#include <optional>
#include <variant>
#include <vector>

class QPrinter;
class QWidget;

namespace nuvela {

/// One entry of a file filter: what the user reads and the patterns it admits.
struct FileFilter {
    QString description; ///< without its trailing "(*.x)" pattern list
    QStringList patterns; ///< "*.jpg", "*.jpeg"
    /// The extension a name gets under this filter: "jpg" for "*.jpg"; empty
    /// for wildcard patterns such as "*.*".
    QString extension() const;
};

/// Filters written the old way, pairs of description and patterns separated
/// by "|": "JPEG (*.jpg;*.jpeg)|*.jpg;*.jpeg|Bitmap Image (*.bmp)|*.bmp".
/// A description without patterns (an odd count of pieces) is left out.
std::vector<FileFilter> parseFileFilter(QStringView oldForm);
/// The same filters in Qt's form: "JPEG (*.jpg *.jpeg)".
QStringList qtFileFilters(const std::vector<FileFilter>& filters);

/// What the user chose in a save dialog.
struct SaveChoice {
    QString path;        ///< the full path as chosen, extension or not
    int filterIndex = 0; ///< 0-based, in the order of the filter text
    QString extension;   ///< that filter's extension ("jpg"), may be empty
};

/// How a question is put, and what may answer it.
enum class Ask {
    Question, ///< Esc and the window's close button answer No
    Warning,  ///< the stop sign: deleting what cannot be brought back
    /// No throws unsaved work away: only Yes or No (a click or its key)
    /// answers, never a key pressed to get the box out of the way.
    NoDiscardsWork,
};

/// The common dialogs and the message boxes. Every call that the user
/// cancels returns std::nullopt (or false for printing): the caller's
/// "cancelled" path.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual std::optional<QString> openFile(QWidget* parent, const QString& title,
                                            QStringView filter)
        = 0;
    virtual std::optional<SaveChoice> saveFile(QWidget* parent, const QString& title,
                                               QStringView filter, const QString& suggestion = {})
        = 0;
    virtual std::optional<ColourNumber> chooseColour(QWidget* parent, ColourNumber initial) = 0;
    /// Lets the user set up the printer passed in; true when he accepts.
    virtual bool print(QWidget* parent, QPrinter& printer) = 0;
    /// The font dialog, starting from `initial` (its point size as the
    /// dialog shows it); the font chosen, with its point size and weight.
    virtual std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) = 0;
    /// A question with the Yes and No buttons; true for Yes.
    virtual bool ask(QWidget* parent, const QString& title, const QString& text, Ask kind = Ask::Question) = 0;
    /// A message with one OK button, shown as an error when `error` is set.
    virtual void tell(QWidget* parent, const QString& title, const QString& text, bool error = false) = 0;
};

/// A message as a box laid out in `direction` shows it. The built-in Hebrew
/// questions are written for boxes laid out from the left ("?  האם לשמור את
/// השינויים", " האם למחוק ... ?"); laid out from the right, their mark
/// belongs at the end of the sentence, without a blank before it.
QString inReadingOrder(const QString& text, Qt::LayoutDirection direction);

/// The platform's dialogs: QFileDialog, QColorDialog, QPrintDialog, QMessageBox.
class QtDialogs : public Dialogs {
public:
    std::optional<QString> openFile(QWidget* parent, const QString& title,
                                    QStringView filter) override;
    std::optional<SaveChoice> saveFile(QWidget* parent, const QString& title, QStringView filter,
                                       const QString& suggestion = {}) override;
    std::optional<ColourNumber> chooseColour(QWidget* parent, ColourNumber initial) override;
    bool print(QWidget* parent, QPrinter& printer) override;
    std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) override;
    bool ask(QWidget* parent, const QString& title, const QString& text, Ask kind = Ask::Question) override;
    void tell(QWidget* parent, const QString& title, const QString& text, bool error = false) override;
};

/// Dialogs answered from a queue, for tests: each call takes the next answer.
/// A call whose answer is missing or of another kind counts as cancelled and
/// is listed in unexpected(), so a test sees a dialog it did not plan for;
/// an unplanned question counts as No. Messages (tell) need no answer: they
/// are only recorded in requests().
class ScriptedDialogs : public Dialogs {
public:
    enum class Kind { Open, Save, Colour, Print, Ask, Tell, Font };

    struct Request {
        Kind kind;
        QString title;
        QString text;          ///< ask and tell
        QStringList qtFilters; ///< open and save
        QString suggestion;    ///< save
        ColourNumber initialColour = 0;
        QFont initialFont;     ///< font
        bool error = false;    ///< tell: shown as an error; ask: as a warning
        Ask ask = Ask::Question; ///< ask
    };

    void answerOpen(const QString& path);
    /// The extension is taken from the filter at that index when asked.
    void answerSave(const QString& path, int filterIndex = 0);
    void answerColour(ColourNumber colour);
    /// Accepts the print dialog; `outputFile` (a PDF path) redirects the job.
    void answerPrint(const QString& outputFile = {});
    void answerAsk(bool yes);
    /// The font chosen in the next font dialog.
    void answerFont(const QFont& font);
    void cancel(Kind kind);

    std::optional<QString> openFile(QWidget* parent, const QString& title,
                                    QStringView filter) override;
    std::optional<SaveChoice> saveFile(QWidget* parent, const QString& title, QStringView filter,
                                       const QString& suggestion = {}) override;
    std::optional<ColourNumber> chooseColour(QWidget* parent, ColourNumber initial) override;
    bool print(QWidget* parent, QPrinter& printer) override;
    std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) override;
    bool ask(QWidget* parent, const QString& title, const QString& text, Ask kind = Ask::Question) override;
    void tell(QWidget* parent, const QString& title, const QString& text, bool error = false) override;

    const std::vector<Request>& requests() const { return requests_; }
    const QStringList& unexpected() const { return unexpected_; }
    bool allAnswered() const { return answers_.empty(); }

private:
    struct Cancel {};
    struct OpenAnswer { QString path; };
    struct SaveAnswer { QString path; int filterIndex; };
    struct ColourAnswer { ColourNumber colour; };
    struct PrintAnswer { QString outputFile; };
    struct AskAnswer { bool yes; };
    struct FontAnswer { QFont font; };
    struct Answer {
        Kind kind;
        std::variant<Cancel, OpenAnswer, SaveAnswer, ColourAnswer, PrintAnswer, AskAnswer, FontAnswer> value;
    };

    std::optional<Answer> take(Kind kind);

    std::deque<Answer> answers_;
    std::vector<Request> requests_;
    QStringList unexpected_;
};

} // namespace nuvela
