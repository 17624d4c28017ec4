#include "ret/gradient.h"

#include <gtest/gtest.h>
