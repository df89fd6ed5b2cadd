// The fixed parts of explain.html: its style sheet, the sections the script
// fills, and the script that draws the boards, the table and the chart from
// the embedded data.
#pragma once

namespace fv {

extern const char* const ExplanationPageStyle;
extern const char* const ExplanationPageBody;
extern const char* const ExplanationPageScript;

}  // namespace fv
