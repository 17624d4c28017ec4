#include "windows/main/pagehistory.h"

#include "store/pagestate.h"

#include <QUndoCommand>

namespace nuvela {

namespace {

class PageStep : public QUndoCommand {
public:
    PageStep(PageState& state, StepKind kind, int n, StepValue before, StepValue after)
        : state_(state), kind_(kind), n_(n), before_(std::move(before)), after_(std::move(after))
    {
    }
    void undo() override { writeStep(state_, kind_, n_, before_); }
    void redo() override
    {
        // The first redo comes from the push, after the edit itself.
        if (pushed_)
            writeStep(state_, kind_, n_, after_);
        pushed_ = true;
    }
    StepInfo info() const { return {kind_, n_, before_, after_}; }

private:
    PageState& state_;
    StepKind kind_;
    int n_;
    StepValue before_;
    StepValue after_;
    bool pushed_ = false;
};

} // namespace

StepValue readStep(const PageState& state, StepKind kind, int n)
{
    StepValue v;
    switch (kind) {
    case StepKind::Text:
        v.text = state.liveTexts.value(n);
        v.format = state.liveFormats.value(n);
        break;
    case StepKind::Picture:
    case StepKind::RemovedPicture:
        if (const auto it = state.gpic.find(n); it != state.gpic.end())
            v.tag = it->second.tag;
        break;
    case StepKind::HeadlineColour:
        v.colour = state.headline.collColour;
        break;
    }
    return v;
}

void writeStep(PageState& state, StepKind kind, int n, const StepValue& value)
{
    switch (kind) {
    case StepKind::Text:
        state.growLiveTables(n);
        state.liveTexts[n] = value.text;
        state.liveFormats[n] = value.format;
        break;
    case StepKind::Picture:
    case StepKind::RemovedPicture:
        // A frame the logo text rebuilt is found again by its number.
        state.gpic[n].tag = value.tag;
        break;
    case StepKind::HeadlineColour:
        state.headline.collColour = value.colour;
        break;
    }
}

PageHistory::PageHistory(PageState& state, std::function<void()> changed)
    : state_(state), changed_(std::move(changed))
{
    stack_.setUndoLimit(kLimit);
    connect(&stack_, &QUndoStack::indexChanged, this, [this] {
        if (recording_)
            return;
        followClean();
        if (changed_)
            changed_();
    });
}

PageHistory::~PageHistory()
{
    // The stack clears itself as it goes: that is no undo, and the page
    // keeps its marker.
    disconnect(&stack_, nullptr, this, nullptr);
}

void PageHistory::record(StepKind kind, int n, const StepValue& before)
{
    recording_ = true;
    stack_.push(new PageStep(state_, kind, n, before, readStep(state_, kind, n)));
    recording_ = false;
}

void PageHistory::restart()
{
    recording_ = true;
    stack_.clear();
    recording_ = false;
}

void PageHistory::setClean()
{
    recording_ = true;
    stack_.setClean();
    recording_ = false;
}

void PageHistory::forgetClean()
{
    recording_ = true;
    stack_.resetClean();
    recording_ = false;
}

std::optional<StepInfo> PageHistory::step(int index) const
{
    if (index < 0 || index >= stack_.count())
        return std::nullopt;
    return static_cast<const PageStep*>(stack_.command(index))->info();
}

void PageHistory::followClean()
{
    if (stack_.isClean())
        clearModified(state_);
    else
        markModified(state_);
}

} // namespace nuvela
