#include "platform/linux/exec_line.h"

namespace ofu::platform::desktop {
namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == '\n'; }

bool IsQuotedEscape(char c) { return c == '"' || c == '`' || c == '$' || c == '\\'; }

bool IsTargetCode(char c) { return c == 'f' || c == 'F' || c == 'u' || c == 'U'; }

bool IsDeprecatedCode(char c) {
    return c == 'd' || c == 'D' || c == 'n' || c == 'N' || c == 'v' || c == 'm';
}

bool IsKnownCode(char c) {
    return IsTargetCode(c) || IsDeprecatedCode(c) || c == 'i' || c == 'c' || c == 'k' || c == '%';
}

// The text a code stands for; nullopt for a target code without a target.
std::optional<std::string> CodeText(char code, const ExecEntryValues& values, const std::optional<ExecTarget>& target) {
    switch (code) {
        case 'f':
        case 'F':
            if (!target || target->localPath.empty()) return std::nullopt;
            return target->localPath;
        case 'u':
        case 'U':
            if (!target || target->uri.empty()) return std::nullopt;
            return target->uri;
        case 'i': return values.icon;
        case 'c': return values.name;
        case 'k': return values.desktopFilePath;
        case '%': return std::string("%");
        default: return std::string();  // the deprecated codes
    }
}

// Appends the elements of one argument. False when it holds an unknown or unfinished code.
bool ExpandArgument(const std::string& argument, const ExecEntryValues& values, const std::optional<ExecTarget>& target,
                    ExpandedExec& out) {
    if (argument.size() == 2 && argument[0] == '%') {
        const char code = argument[1];
        if (!IsKnownCode(code)) return false;
        if (IsTargetCode(code)) out.namesTarget = true;
        if (code == 'i') {
            if (!values.icon.empty()) {
                out.argv.emplace_back("--icon");
                out.argv.push_back(values.icon);
            }
            return true;
        }
        const std::optional<std::string> text = CodeText(code, values, target);
        if (text && (!text->empty() || code == '%')) out.argv.push_back(*text);
        return true;
    }
    std::string expanded;
    bool unfilled = false;
    for (std::size_t k = 0; k < argument.size(); ++k) {
        if (argument[k] != '%') {
            expanded.push_back(argument[k]);
            continue;
        }
        if (k + 1 >= argument.size() || !IsKnownCode(argument[k + 1])) return false;
        const char code = argument[++k];
        if (IsTargetCode(code)) out.namesTarget = true;
        const std::optional<std::string> text = CodeText(code, values, target);
        if (text)
            expanded.append(*text);
        else
            unfilled = true;
    }
    if (!unfilled) out.argv.push_back(std::move(expanded));
    return true;
}

}  // namespace

std::optional<std::vector<std::string>> SplitExecLine(std::string_view exec) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (std::size_t k = 0; k < exec.size(); ++k) {
        const char c = exec[k];
        if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\' && k + 1 < exec.size() && IsQuotedEscape(exec[k + 1])) {
                word.push_back(exec[++k]);
            } else {
                word.push_back(c);
            }
        } else if (IsSeparator(c)) {
            if (inWord) words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            inWord = true;
            if (c == '"')
                quoted = true;
            else
                word.push_back(c);
        }
    }
    if (quoted) return std::nullopt;
    if (inWord) words.push_back(std::move(word));
    return words;
}

std::optional<ExpandedExec> ExpandExecLine(std::string_view exec, const ExecEntryValues& values,
                                           const std::optional<ExecTarget>& target) {
    const std::optional<std::vector<std::string>> words = SplitExecLine(exec);
    if (!words) return std::nullopt;
    ExpandedExec out;
    for (const std::string& word : *words)
        if (!ExpandArgument(word, values, target, out)) return std::nullopt;
    if (out.argv.empty() || out.argv.front().empty()) return std::nullopt;
    return out;
}

}  // namespace ofu::platform::desktop
