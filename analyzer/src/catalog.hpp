// The numbered message catalog and the per-run switch state of each message.
#pragma once
#include <map>
#include <string>
#include <vector>

namespace quarl {

enum class Severity { Error, Warning, Fyi };

const char* severityName(Severity s);

struct MessageDef {
    int number;
    Severity severity;
    const char* text;  // printf-like: each %s is replaced by the next argument
};

// All messages, ascending by number.
const std::vector<MessageDef>& catalog();
const MessageDef* findMessage(int number);

// Which messages a run reports: severity classes (-w, -f) and the per-number
// overrides (-O, -O+, applied in the order given).
class MessageSwitches {
public:
    bool warnings = true;
    bool fyis = false;
    void disable(int number) { overrides_[number] = false; }
    void enable(int number) { overrides_[number] = true; }
    void disableAll();
    void enableAll();
    bool isEnabled(int number) const;

private:
    std::map<int, bool> overrides_;
};

std::string formatMessage(const MessageDef& def, const std::vector<std::string>& args);

}  // namespace quarl
