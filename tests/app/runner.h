#pragma once

#include "support/pixels.h"

namespace test {

/// Runs nuvela-render without any environment, as a cron job would; with
/// a limit, under that much address space (KiB, as `ulimit -v` takes it).
Run runRenderer(const QStringList& args, long addressSpaceKiB = 0);

} // namespace test
