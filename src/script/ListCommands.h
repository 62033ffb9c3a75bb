// The list-variable commands of the scripts (opcodes 94 to 98): list texts whose
// items are separated by ", ", worked on in the internal form with "|" between items.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "script/ScriptContext.h"

namespace vnt {

// List text to items: every ", " becomes "|" and the text is split at every "|" (so a "|"
// written in a list text separates items too). Empty items are kept; the empty text is one
// empty item.
std::vector<std::string> SplitListText(const std::string& text);
// Items to list text: joined with "|", then every "|" becomes ", ".
std::string JoinListText(const std::vector<std::string>& items);

// Whether a non-empty item equal to `item` (ignoring case) is in the list; an empty item is
// never found.
bool ListHolds(const std::vector<std::string>& items, const std::string& item);

// ListAdd: the list becomes the item when empty; a new non-empty item is appended; an item
// already there (ignoring case) or an empty item leaves the list as it is.
std::string ListAddItem(const std::string& list, const std::string& item);
// ListRemove: every item equal to `item` (ignoring case) and every empty item dropped.
std::string ListRemoveItem(const std::string& list, const std::string& item);
// ListItem: position counted from 1, empty items counting; the empty text out of range.
std::string ListItemAt(const std::string& list, int32_t position);
// ListCount: the number of non-empty items.
int ListCountItems(const std::string& list);

// Sets the commands 94 to 98 on the context.
void RegisterListCommands(TScriptContext& context);

}  // namespace vnt
