// The decoded region state of one query as JSON, for scripts.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>

#include "zone/region_utility.h"

namespace tools {

// {"drive", "opened", "rpc": {...} or null, "disc": {...} or null} and, after
// a change, "change" with how it ended.
nlohmann::json RegionReportJson(const zone::RegionReport& report,
                                std::optional<zone::ChangeOutcome> change);

}  // namespace tools
