// explain.html: the explanation of a run as one self-contained UTF-8 page
// (inline CSS, SVG drawn by a small script of its own, the data of
// log/explain.json embedded), readable on screen and in print.
#pragma once

#include <string>
#include <vector>

#include "run/explanation_data.h"

namespace fv {

// What the page cannot show, one sentence each: a short weight file, a leaf
// without terms, an empty PV, a line that could not be computed, a mated leaf.
std::vector<std::string> MissingNotes(const ExplanationData& data);

// The page, with `json` (ExplanationJson of the same data) embedded.
std::string ExplanationPage(const ExplanationData& data, const std::string& json);

}  // namespace fv
