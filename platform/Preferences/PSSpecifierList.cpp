#include "PSSpecifierList.h"

namespace {

bool storesAValue(PSCellType type)
{
    switch (type) {
    case PSSwitchCell:
    case PSEditTextCell:
    case PSSecureEditTextCell:
    case PSSliderCell:
    case PSSegmentCell:
    case PSLinkListCell:
    case PSEditTextViewCell:
        return true;
    default:
        return false;
    }
}

} // namespace

PSSpecifierList PSSpecifiersFromPlist(const NSDictionary* plist, NSObject* target)
{
    PSSpecifierList list;
    if (!plist) {
        list.problems.push_back("the specifier list is not a dictionary");
        return list;
    }
    list.title = objc_cast<NSString>(plist->objectForKey("title"));
    auto items = objc_cast<NSArray>(plist->objectForKey("items"));
    if (!items) {
        list.problems.push_back("the specifier list has no \"items\" array");
        return list;
    }
    std::size_t index = 0;
    for (auto& object : items->objects()) {
        std::string where = "item " + std::to_string(index++);
        auto item = objc_cast<NSDictionary>(object.get());
        if (!item) {
            list.problems.push_back(where + ": not a dictionary");
            continue;
        }
        auto cellName = objc_cast<NSString>(item->objectForKey("cell"));
        long type = cellName ? PSSpecifier::cellTypeNamed(cellName->string()) : -1;
        if (type < 0) {
            list.problems.push_back(where + ": unknown cell type \"" + (cellName ? cellName->string() : std::string()) + "\"");
            continue;
        }
        auto cellType = static_cast<PSCellType>(type);
        auto key = objc_cast<NSString>(item->objectForKey("key"));
        if (storesAValue(cellType) && !key) {
            list.problems.push_back(where + ": a " + cellName->string() + " needs a \"key\"");
            continue;
        }

        auto label = objc_cast<NSString>(item->objectForKey("label"));
        auto specifier = PSSpecifier::preferenceSpecifierNamed(label ? label : NSString::create("").get(), target,
            nullptr, nullptr, nullptr, cellType, nullptr);
        for (auto& [name, value] : item->entries())
            specifier->properties()->setObject(value.get(), name.get());
        if (auto identifier = objc_cast<NSString>(item->objectForKey("id")))
            specifier->setIdentifier(identifier);
        if (storesAValue(cellType))
            specifier->setAccessors("setPreferenceValue:specifier:"_sel, "readPreferenceValue:"_sel);
        if (auto action = objc_cast<NSString>(item->objectForKey("action")))
            specifier->setButtonAction(sel_registerName(action->UTF8String()));
        if (auto detail = objc_cast<NSString>(item->objectForKey("detail")))
            specifier->setDetailControllerClass(objc_getClass(detail->UTF8String()));
        list.specifiers->addObject(specifier.get());
    }
    return list;
}
