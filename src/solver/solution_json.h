// The result of a solution run as one JSON document, for the command-line tool and scripts:
//   {"solved": bool, "messages": [{"text": ..., "element": n or null}], "elements": [...]}
// Every placed element appears once, by number, with its results in internal units (gpm, feet);
// a field that does not apply to the element's kind, a blank (-19999) result, a grade the solution
// did not compute (-9999) and any value that is not a finite number are null.
#pragma once

#include <string>

namespace vt {

class Project;
class MessageList;

std::string solutionToJson(const Project& project, const MessageList& messages);

// A JSON string literal of UTF-8 text (quotes included).
std::string jsonString(const std::string& text);

}  // namespace vt
