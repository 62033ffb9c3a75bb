#include "package/Conditions.h"

#include <algorithm>
#include <vector>

#include "package/ComponentLists.h"

namespace vnt {

bool IsComponentsOperand(const std::string& s) { return CompareTextIgnoringCase(s, "%SETUPCOMPONENTS%") == 0; }

namespace {

bool AllOf(const std::string& text, const char* allowed) {
  return text.find_first_not_of(allowed) == std::string::npos;
}

std::string PadLeft(const std::string& text, size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), '0') + text;
}

std::vector<std::string> SplitDots(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t dot = text.find('.', start);
    parts.push_back(text.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
    if (dot == std::string::npos) return parts;
    start = dot + 1;
  }
}

std::string JoinDots(const std::vector<std::string>& parts) {
  std::string out;
  for (size_t i = 0; i < parts.size(); ++i) out += (i ? "." : "") + parts[i];
  return out;
}

bool Compare(const std::string& a, const std::string& b, const std::string& op) {
  int c = a.compare(b);  // byte by byte, case counts
  if (op == "=") return c == 0;
  if (op == "!=") return c != 0;
  if (op == ">") return c > 0;
  if (op == "<") return c < 0;
  if (op == ">=") return c >= 0;
  if (op == "<=") return c <= 0;
  return false;
}


bool ComponentTest(const std::string& left, const std::string& right, const std::string& op, TSetupVariables& vars) {
  if (IsComponentsOperand(left) && IsComponentsOperand(right)) return op == "=";
  if (vars.NothingToChoose()) return true;
  std::string name = vars.EvaluateVariable(IsComponentsOperand(left) ? right : left);
  bool selected = ComponentListContains(vars.SelectedComponents, name);
  if (op == "=") return selected;
  if (op == "!=") return !selected;
  return false;
}

// One clause: operator found, operands taken around it with one blank on each side.
TConditionClause ReadClause(const std::string& clause) {
  for (size_t i = 0; i < clause.size(); ++i) {
    char c = clause[i];
    bool bang = c == '!' && i + 1 < clause.size() && clause[i + 1] == '=';
    if (c != '=' && c != '>' && c != '<' && !bang) continue;
    bool two = (c == '!' || c == '>' || c == '<') && i + 1 < clause.size() && clause[i + 1] == '=';
    std::string op = clause.substr(i, two ? 2 : 1);
    std::string left = i > 0 ? clause.substr(0, i - 1) : std::string();
    std::string rest = clause.substr(i + op.size());
    std::string right = rest.empty() ? rest : rest.substr(1);
    return {left, op, right};
  }
  return {};
}

}  // namespace

void PadOperands(std::string& left, std::string& right) {
  if (AllOf(left, "0123456789") && AllOf(right, "0123456789")) {
    size_t width = std::max(left.size(), right.size());
    left = PadLeft(left, width);
    right = PadLeft(right, width);
    return;
  }
  if (!AllOf(left, "0123456789.") || !AllOf(right, "0123456789.")) return;
  std::vector<std::string> a = SplitDots(left), b = SplitDots(right);
  size_t parts = std::max(a.size(), b.size());
  a.resize(parts);
  b.resize(parts);
  for (size_t i = 0; i < parts; ++i) {
    size_t width = std::max(a[i].size(), b[i].size());
    a[i] = PadLeft(a[i], width);
    b[i] = PadLeft(b[i], width);
  }
  left = JoinDots(a);
  right = JoinDots(b);
}

bool CompareOperands(const std::string& left, const std::string& right, const std::string& op, TSetupVariables& vars) {
  if (IsComponentsOperand(left) || IsComponentsOperand(right)) return ComponentTest(left, right, op, vars);
  std::string a = vars.EvaluateVariable(left), b = vars.EvaluateVariable(right);
  PadOperands(a, b);
  return Compare(a, b, op);
}

std::vector<TConditionClause> ConditionClauses(const std::string& condition) {
  std::vector<TConditionClause> clauses;
  // Text after the last bar is ignored.
  for (size_t start = 0, bar; (bar = condition.find('|', start)) != std::string::npos; start = bar + 1)
    clauses.push_back(ReadClause(condition.substr(start, bar - start)));
  return clauses;
}

bool EvaluateCondition(const std::string& condition, TSetupVariables& vars) {
  for (const TConditionClause& c : ConditionClauses(condition))
    if (!c.Op.empty() && !CompareOperands(c.Left, c.Right, c.Op, vars)) return false;
  return true;
}

}  // namespace vnt
