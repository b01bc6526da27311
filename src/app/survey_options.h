// The options of survey generation, converted strictly from what was typed.
#pragma once

#include "app/options.h"
#include "survey/survey_request.h"

#include <string>

// At most this many tie lines: more would be a survey of their own.
constexpr std::size_t kMostCrossLines = 1000;

struct SurveyOptions {
    bool ok = true;
    std::string refusal; // one line naming the option and the text typed
    SurveyRequest request;
};

// The spacing from --lineSpacing, or from --swathWidth less --overlap percent; the heading,
// run-in, start position and tie lines as given. Refuses a value that is not a number or out
// of its range, a spacing given twice or not at all, and any of these options without
// --survey, which would otherwise be ignored without a word.
SurveyOptions readSurveyOptions(const CommandLine& commandLine);
