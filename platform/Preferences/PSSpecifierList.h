#pragma once
// Reading a specifier list: the property list a settings page is described by,
// { title = ...; items = ( { cell = PSSwitchCell; label = ...; key = ...; ... }, ... ); },
// turned into specifiers as the Preferences framework's SpecifiersFromPlist does.

#include "Foundation/NSArray.h"
#include "PSSpecifier.h"

#include <string>
#include <vector>

struct PSSpecifierList {
    objc::RefPtr<NSMutableArray> specifiers = NSMutableArray::create();
    objc::RefPtr<NSString> title;
    // Items that were left out, and why ("item 3: unknown cell type \"PSFooCell\"").
    std::vector<std::string> problems;
};

// Each item becomes a specifier whose properties are the item's entries. Value cells
// (switches, text fields, sliders, segments, lists) read with readPreferenceValue: and
// write with setPreferenceValue:specifier: on `target`; a button sends its "action" to
// `target`; a link opens its "detail" class. An item that is not a dictionary, has no
// known cell type, or names a value cell without a "key" is left out and reported.
PSSpecifierList PSSpecifiersFromPlist(const NSDictionary* plist, NSObject* target);
