#pragma once

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <cstdint>
#include <functional>
#include <optional>

namespace nuvela {

struct PageState;

/// What one page edit touched: a text object's live entries, a picture
/// overlay's tag, or the headline colour.
enum class StepKind { Text, Picture, RemovedPicture, HeadlineColour };

/// The part of the page one step changes, before or after it: only the
/// fields its kind names are used.
struct StepValue {
    QString text;   ///< live text entry (Text)
    QString format; ///< live format entry (Text)
    QString tag;    ///< picture overlay tag (Picture, RemovedPicture)
    std::uint32_t colour = 0; ///< headline colour (HeadlineColour)
};

/// One recorded step: what it touched, and the page's part before and after.
struct StepInfo {
    StepKind kind;
    int n;
    StepValue before;
    StepValue after;
};

/// Reads what a step of kind on object n would change from the page.
StepValue readStep(const PageState& state, StepKind kind, int n);
/// Puts a value back into the page.
void writeStep(PageState& state, StepKind kind, int n, const StepValue& value);

/// The undo history of the version on the page: one step per confirmed
/// edit. Its clean state is "nothing unsaved": reaching it clears the
/// modified marker, leaving it sets the marker as a new edit would.
class PageHistory : public QObject {
    Q_OBJECT
public:
    /// Older steps fall off beyond this many.
    static constexpr int kLimit = 100;

    /// changed: called after an undo or redo changed the page.
    PageHistory(PageState& state, std::function<void()> changed);
    ~PageHistory() override;

    /// Records an edit already made to the page: before is what it replaced.
    void record(StepKind kind, int n, const StepValue& before);
    /// A new version or template is on the page: nothing to undo.
    void restart();
    /// The page was saved or its changes discarded.
    void setClean();
    /// The page holds unsaved changes that no step here made (restored after
    /// a crash): no state of this history is "nothing unsaved".
    void forgetClean();

    void undo() { stack_.undo(); }
    void redo() { stack_.redo(); }
    bool canUndo() const { return stack_.canUndo(); }
    bool canRedo() const { return stack_.canRedo(); }
    bool isClean() const { return stack_.isClean(); }
    int count() const { return stack_.count(); }

    /// The step Undo or Redo would take (nothing when none).
    std::optional<StepInfo> nextUndo() const { return step(stack_.index() - 1); }
    std::optional<StepInfo> nextRedo() const { return step(stack_.index()); }

private:
    std::optional<StepInfo> step(int index) const;
    void followClean();

    PageState& state_;
    std::function<void()> changed_;
    QUndoStack stack_;
    bool recording_ = false;
};

} // namespace nuvela
