// Guard conditions of script statements and setup records: clauses ended by "|", all of
// which must hold.
#pragma once

#include <string>
#include <vector>

#include "package/SetupVariables.h"

namespace vnt {

// One clause as written: its operands and operator; Op is empty for a clause without one,
// which always holds.
struct TConditionClause {
  std::string Left, Op, Right;
};
// The clauses a condition holds: those ended by "|", in order.
std::vector<TConditionClause> ConditionClauses(const std::string& condition);
// "%SetupComponents%" in any case: the operand that tests the component selection.
bool IsComponentsOperand(const std::string& operand);

bool EvaluateCondition(const std::string& condition, TSetupVariables& vars);
// op is one of "=", "!=", ">", "<", ">=", "<=".
bool CompareOperands(const std::string& left, const std::string& right, const std::string& op,
                     TSetupVariables& vars);
// Numbers padded to the same length, version numbers part by part; other texts unchanged.
void PadOperands(std::string& left, std::string& right);

}  // namespace vnt
