#pragma once
#include <string>
#include <string_view>

// Where help is found: the program's help file, and the page (an anchor of that file) that
// explains each dialog template.

// The help file that Help Index and F1 open, by bare name in the working directory.
inline constexpr const char* kProgramHelpFile = "tarvolin.hlp";
// The help on using help that "Using Help" opens, beside it.
inline constexpr const char* kHelpOnHelpFile = "WINHELP.HLP";

// The anchor of the page for a dialog template (TemplateId::kAnswer gives "answer"); case is
// ignored.
// Empty for a template the help file does not describe.
std::string HelpTopicOf(std::string_view templateName);
