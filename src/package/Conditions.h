// Guard conditions of script statements and setup records: clauses ended by "|", all of
// which must hold.
#pragma once

#include <string>

#include "package/SetupVariables.h"

namespace vnt {

bool EvaluateCondition(const std::string& condition, TSetupVariables& vars);
// op is one of "=", "!=", ">", "<", ">=", "<=".
bool CompareOperands(const std::string& left, const std::string& right, const std::string& op,
                     TSetupVariables& vars);
// Numbers padded to the same length, version numbers part by part; other texts unchanged.
void PadOperands(std::string& left, std::string& right);

}  // namespace vnt
