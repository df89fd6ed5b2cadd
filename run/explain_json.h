// log/explain.json: the explanation of a run as data, described field by
// field in docs/explain-json.md and checked by docs/explain.schema.json.
#pragma once

#include <cstdint>
#include <string>

#include "run/explanation_data.h"

namespace fv {

// The whole document, UTF-8, ending in a line break.
std::string ExplanationJson(const ExplanationData& data);

// `numerator` / `denominator` (a power of two up to 64) as an exact decimal:
// "12", "-1.5", "0.015625".
std::string ExactDecimal(std::int64_t numerator, int denominator);

}  // namespace fv
