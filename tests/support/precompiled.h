// What nearly every windowed test includes: the framework's Qt headers and GoogleTest,
// precompiled once for all the test programs.
#pragma once

#ifdef __cplusplus
#include <gtest/gtest.h>

#include "ui/precompiled.h"
#endif
