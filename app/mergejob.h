#pragma once

#include "app/renderjob.h"

namespace nuvela {

/// Exit statuses of a merge.
enum MergeExit {
    kMergeAllMade = 0,    ///< every row made its card
    kMergeFailed = 1,     ///< no card made: the table, template or output is unusable
    kMergeRowsSkipped = 3 ///< some rows were reported and skipped, the others made
};

/// Where a merge reports: file descriptor of the user's error stream, and
/// whether it is a terminal (only then is a progress line drawn).
struct MergeReport {
    int fd = 2;
    bool terminal = false;
};

/// `nuvela-render --merge`: one card per row of request.merge, drawn by
/// request.jobs workers side by side (one per core when 0), each with its
/// own store, page state and canvas. Bad rows are reported ("Error: row N
/// (line L): why") and skipped. Returns a MergeExit.
int runMerge(const RenderRequest& request, const MergeReport& report);

} // namespace nuvela
