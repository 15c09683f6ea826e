#pragma once

#include "ui/build_kind.h"

// Set by the build for each program: 0 for kestrova, 1 for kestrova-log.
#ifndef KESTROVA_BUILD_LOG
#error "KESTROVA_BUILD_LOG must be defined by the build"
#endif

namespace kestrova {

inline constexpr BuildKind kThisBuild = KESTROVA_BUILD_LOG ? BuildKind::Log : BuildKind::Standard;

}  // namespace kestrova
