#pragma once

#include <QtCore/qglobal.h>

#if defined(RET_BUILD_LIBRARY)
#define RET_EXPORT Q_DECL_EXPORT
#else
#define RET_EXPORT Q_DECL_IMPORT
#endif
