#include "Foundation/Foundation.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

using objc::RefPtr;

namespace platform {
void registerFoundationClasses();
}

namespace {

// Foundation alone, so these tests do not wait on the frameworks above it.
void registerFoundation()
{
    platform::registerFoundationClasses();
}

class FoundationTest : public testing::Test {
protected:
    void SetUp() override { registerFoundation(); }
    objc::AutoreleasePool m_pool;
};

using NSString_Reading = FoundationTest;
using NSNumber_Value = FoundationTest;
using NSString_Text = FoundationTest;
using Foundation_Collections = FoundationTest;
using Foundation_RuntimeMethods = FoundationTest;
using Foundation_JSON = FoundationTest;

TEST_F(NSString_Reading, DoubleAndFloatTakeTheLongestNumericRun)
{
    struct Case {
        const char* text;
        double expected;
    };
    const Case cases[] = {
        { "1.5abc", 1.5 },
        { "1e5", 100000 },
        { "inf", 0 },
        { "nan", 0 },
        { "0x1A", 0 },
        { "   42", 42 },
        { "  -2.5", -2.5 },
        { "\t\n3.25", 3.25 },
        { "+.5", 0.5 },
        { "1.5e", 1.5 },
        { "", 0 },
        { "abc", 0 },
        { "--1", 0 },
        { "1e999", HUGE_VAL },
        { "-1e999", -HUGE_VAL },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto string = NSString::create(c.text);
        EXPECT_EQ(string->doubleValue(), c.expected);
        EXPECT_EQ(string->floatValue(), static_cast<float>(c.expected));
        EXPECT_EQ(objc_msgSend<float>(string.get(), "floatValue"_sel), static_cast<float>(c.expected));
        EXPECT_EQ(objc_msgSend<double>(string.get(), "doubleValue"_sel), c.expected);
    }
}

TEST_F(NSString_Reading, BoolValueLooksAtTheFirstSignificantCharacter)
{
    struct Case {
        const char* text;
        bool expected;
    };
    const Case cases[] = {
        { "YES", true },
        { "true", true },
        { "1", true },
        { "0009", true },
        { " +y", true },
        { "T", true },
        { "-5", true },
        { "\t 1", true },
        { "NO", false },
        { "false", false },
        { "0", false },
        { "", false },
        { "000", false },
        { "0x5", false },
        { "-0", false },
        { "no", false },
        { " ", false },
        { "+", false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto string = NSString::create(c.text);
        EXPECT_EQ(string->boolValue(), c.expected);
        EXPECT_EQ(objc_msgSend<bool>(string.get(), "boolValue"_sel), c.expected);
    }
}

TEST_F(NSString_Reading, IntegersTakeTheDecimalPrefixAndSaturate)
{
    struct Case {
        const char* text;
        int intValue;
        long long longLongValue;
    };
    const Case cases[] = {
        { "42", 42, 42 },
        { "  -17abc", -17, -17 },
        { "+7", 7, 7 },
        { "1.9", 1, 1 },
        { "abc", 0, 0 },
        { "", 0, 0 },
        { "0x1A", 0, 0 },
        { "2147483647", INT_MAX, 2147483647LL },
        { "2147483648", INT_MAX, 2147483648LL },
        { "-2147483648", INT_MIN, -2147483648LL },
        { "-2147483649", INT_MIN, -2147483649LL },
        { "9223372036854775807", INT_MAX, LLONG_MAX },
        { "99999999999999999999", INT_MAX, LLONG_MAX },
        { "-9223372036854775808", INT_MIN, LLONG_MIN },
        { "-99999999999999999999", INT_MIN, LLONG_MIN },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto string = NSString::create(c.text);
        EXPECT_EQ(string->intValue(), c.intValue);
        EXPECT_EQ(string->longLongValue(), c.longLongValue);
        EXPECT_EQ(string->integerValue(), static_cast<long>(c.longLongValue));
        EXPECT_EQ(objc_msgSend<int>(string.get(), "intValue"_sel), c.intValue);
        EXPECT_EQ(objc_msgSend<long long>(string.get(), "longLongValue"_sel), c.longLongValue);
    }
}

TEST_F(NSString_Reading, StoredNumberAndItsTextGiveTheSameFloatThroughTheRuntime)
{
    // A setting may be stored as a number or typed in as text; both must read alike.
    for (double value : { 1.5, 0.1, 20.0, -2.25, 100000.0, 0.333333333333 }) {
        SCOPED_TRACE(value);
        RefPtr<NSObject> number = NSNumber::numberWithDouble(value);
        RefPtr<NSObject> text = NSString::stringWithFormat("%.17g", value);
        float fromNumber = objc_msgSend<float>(number.get(), "floatValue"_sel);
        float fromText = objc_msgSend<float>(text.get(), "floatValue"_sel);
        EXPECT_EQ(fromNumber, fromText);
        EXPECT_EQ(fromNumber, static_cast<float>(value));
    }
}

TEST_F(NSNumber_Value, GettersConvertLikeC)
{
    auto half = NSNumber::numberWithDouble(0.5);
    EXPECT_TRUE(half->boolValue());
    EXPECT_EQ(half->intValue(), 0);
    EXPECT_FALSE(NSNumber::numberWithDouble(0.0)->boolValue());
    EXPECT_TRUE(NSNumber::numberWithInt(-1)->boolValue());
    EXPECT_FALSE(NSNumber::numberWithInt(0)->boolValue());
    EXPECT_EQ(NSNumber::numberWithDouble(3.9)->intValue(), 3);
    EXPECT_EQ(NSNumber::numberWithDouble(-3.9)->intValue(), -3);
    EXPECT_EQ(NSNumber::numberWithInt(-1)->unsignedIntValue(), 4294967295u);
    EXPECT_EQ(NSNumber::numberWithBool(true)->intValue(), 1);
    EXPECT_EQ(NSNumber::numberWithFloat(2.5f)->doubleValue(), 2.5);
    EXPECT_EQ(NSNumber::numberWithLongLong(1LL << 40)->longLongValue(), 1LL << 40);
    // Out-of-range reals saturate rather than wrap, and NaN reads as zero.
    EXPECT_EQ(NSNumber::numberWithDouble(1e20)->intValue(), INT_MAX);
    EXPECT_EQ(NSNumber::numberWithDouble(-1e20)->longLongValue(), LLONG_MIN);
    EXPECT_EQ(NSNumber::numberWithDouble(std::nan(""))->intValue(), 0);

    RefPtr<NSObject> number = NSNumber::numberWithInt(7);
    EXPECT_EQ(objc_msgSend<unsigned>(number.get(), "unsignedIntValue"_sel), 7u);
    EXPECT_EQ(objc_msgSend<long>(number.get(), "integerValue"_sel), 7);
    EXPECT_TRUE(objc_msgSend<bool>(number.get(), "boolValue"_sel));
}

TEST_F(NSNumber_Value, DescriptionMatchesFoundation)
{
    struct Case {
        RefPtr<NSNumber> number;
        const char* expected;
    };
    const Case cases[] = {
        { NSNumber::numberWithBool(true), "1" },
        { NSNumber::numberWithBool(false), "0" },
        { NSNumber::numberWithDouble(1.5), "1.5" },
        { NSNumber::numberWithInt(20), "20" },
        { NSNumber::numberWithDouble(20.0), "20" },
        { NSNumber::numberWithDouble(0.1), "0.1" },
        { NSNumber::numberWithFloat(0.1f), "0.1" },
        { NSNumber::numberWithInt(-3), "-3" },
        { NSNumber::numberWithLongLong(LLONG_MIN), "-9223372036854775808" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(c.number->descriptionString(), c.expected);
    }
}

TEST_F(NSNumber_Value, EqualityIsByValueAcrossKindsAndHashesAgree)
{
    struct Case {
        RefPtr<NSNumber> left;
        RefPtr<NSNumber> right;
        bool equal;
    };
    const Case cases[] = {
        { NSNumber::numberWithBool(true), NSNumber::numberWithInt(1), true },
        { NSNumber::numberWithInt(1), NSNumber::numberWithDouble(1.0), true },
        { NSNumber::numberWithFloat(0.5f), NSNumber::numberWithDouble(0.5), true },
        { NSNumber::numberWithInt(1), NSNumber::numberWithInt(2), false },
        { NSNumber::numberWithDouble(1.5), NSNumber::numberWithInt(1), false },
        { NSNumber::numberWithBool(false), NSNumber::numberWithBool(true), false },
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const auto& c = cases[i];
        EXPECT_EQ(c.left->isEqual(c.right.get()), c.equal);
        EXPECT_EQ(c.right->isEqual(c.left.get()), c.equal);
        if (c.equal) {
            EXPECT_EQ(c.left->hash(), c.right->hash());
        }
    }
    EXPECT_FALSE(NSNumber::numberWithInt(1)->isEqual("1"_ns.get()));
    EXPECT_FALSE(NSNumber::numberWithInt(1)->isEqual(nullptr));
}

TEST_F(NSString_Text, LengthCountsUTF16Units)
{
    struct Case {
        const char* text;
        std::size_t length;
    };
    const Case cases[] = { { "", 0 }, { "abc", 3 }, { "\xC3\xA9", 1 }, { "\xE2\x82\xAC", 1 }, { "\xF0\x9F\x98\x80", 2 }, { "a\xF0\x9F\x98\x80z", 4 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto string = NSString::create(c.text);
        EXPECT_EQ(string->length(), c.length);
        EXPECT_EQ(objc_msgSend<unsigned long>(string.get(), "length"_sel), c.length);
    }
}

TEST_F(NSString_Text, StringWithUTF8StringRefusesMalformedBytes)
{
    for (const char* bad : { "\xC3\x28", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "abc\xE2\x82" }) {
        SCOPED_TRACE(testing::PrintToString(bad));
        EXPECT_EQ(NSString::stringWithUTF8String(bad), nullptr);
    }
    auto good = NSString::stringWithUTF8String("caf\xC3\xA9 \xF0\x9F\x98\x80");
    ASSERT_TRUE(good);
    EXPECT_STREQ(good->UTF8String(), "caf\xC3\xA9 \xF0\x9F\x98\x80");
}

TEST_F(NSString_Text, AppendingPathComponentJoinsWithOneSlash)
{
    struct Case {
        const char* base;
        const char* component;
        const char* expected;
    };
    const Case cases[] = {
        { "/var/mobile", "x.plist", "/var/mobile/x.plist" },
        { "/var/mobile/", "x.plist", "/var/mobile/x.plist" },
        { "/var/mobile", "/x.plist", "/var/mobile/x.plist" },
        { "/", "x", "/x" },
        { "a", "b/", "a/b" },
        { "", "b", "b" },
        { "a", "", "a" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.base) + " + " + c.component);
        EXPECT_EQ(NSString::create(c.base)->stringByAppendingPathComponent(NSString::create(c.component).get())->string(), c.expected);
    }
}

TEST_F(NSString_Text, PrefixAndSuffix)
{
    auto string = "com.apple.springboard"_ns;
    EXPECT_TRUE(string->hasPrefix("com.apple"));
    EXPECT_FALSE(string->hasPrefix("apple"));
    EXPECT_TRUE(string->hasSuffix("springboard"));
    EXPECT_FALSE(string->hasSuffix("spring"));
    // Foundation answers NO for an empty prefix or suffix.
    EXPECT_FALSE(string->hasPrefix(""));
    EXPECT_FALSE(string->hasSuffix(""));
}

TEST_F(Foundation_Collections, DictionaryFindsEqualButDistinctKeys)
{
    auto dictionary = NSMutableDictionary::create();
    auto key = NSString::create("enabled");
    dictionary->setObject(NSNumber::numberWithBool(true).get(), key.get());
    dictionary->setObject("one"_ns.get(), NSNumber::numberWithInt(1).get());

    auto sameText = NSString::create(std::string("enab") + "led");
    ASSERT_NE(sameText.get(), key.get());
    EXPECT_TRUE(objc_cast<NSNumber>(dictionary->objectForKey(sameText.get()))->boolValue());
    EXPECT_TRUE(dictionary->objectForKey("enabled"));
    // 1.0 is the same key as 1, as in Foundation.
    EXPECT_EQ(dictionary->objectForKey(NSNumber::numberWithDouble(1.0).get()), dictionary->objectForKey(NSNumber::numberWithInt(1).get()));
    EXPECT_TRUE(dictionary->objectForKey(NSNumber::numberWithInt(1).get()));
    EXPECT_EQ(dictionary->objectForKey("missing"), nullptr);
    EXPECT_EQ(dictionary->objectForKey(static_cast<const NSObject*>(nullptr)), nullptr);

    id found = objc_msgSend<id>(dictionary.get(), "objectForKey:"_sel, static_cast<id>(sameText.get()));
    EXPECT_TRUE(objc_cast<NSNumber>(found));
}

TEST_F(Foundation_Collections, SettingAnExistingKeyReplacesInPlace)
{
    auto dictionary = NSMutableDictionary::create();
    dictionary->setObject("1"_ns.get(), "a");
    dictionary->setObject("2"_ns.get(), "b");
    dictionary->setObject("3"_ns.get(), "c");
    dictionary->setObject("changed"_ns.get(), NSString::create("b").get());
    ASSERT_EQ(dictionary->count(), 3u);
    std::vector<std::string> order;
    for (auto& [key, value] : dictionary->entries())
        order.push_back(key->descriptionString() + "=" + value->descriptionString());
    EXPECT_EQ(order, (std::vector<std::string> { "a=1", "b=changed", "c=3" }));

    dictionary->removeObjectForKey("a");
    EXPECT_EQ(dictionary->count(), 2u);
    EXPECT_EQ(dictionary->objectForKey("a"), nullptr);
    EXPECT_EQ(dictionary->entries().front().first->descriptionString(), "b");

    objc_msgSend(dictionary.get(), "setObject:forKey:"_sel, static_cast<id>("v"_ns.get()), static_cast<id>("k"_ns.get()));
    EXPECT_EQ(objc_msgSend<unsigned long>(dictionary.get(), "count"_sel), 3u);
}

TEST_F(Foundation_Collections, CreateKeepsTheLastValueForARepeatedKey)
{
    auto dictionary = NSDictionary::create({ { "k"_ns, "first"_ns }, { "x"_ns, "y"_ns }, { "k"_ns, "second"_ns } });
    EXPECT_EQ(dictionary->count(), 2u);
    EXPECT_EQ(dictionary->objectForKey("k")->descriptionString(), "second");
}

TEST_F(Foundation_Collections, AMutableKeyIsCopiedSoLaterChangesCannotLoseTheEntry)
{
    auto key = NSMutableArray::create();
    key->addObject("a"_ns.get());
    auto dictionary = NSMutableDictionary::create();
    dictionary->setObject("value"_ns.get(), key.get());
    key->addObject("b"_ns.get());

    EXPECT_EQ(dictionary->objectForKey(key.get()), nullptr);
    EXPECT_TRUE(dictionary->objectForKey(NSArray::create({ "a"_ns }).get()));
    EXPECT_FALSE(objc_cast<NSMutableArray>(dictionary->entries().front().first.get()));
}

TEST_F(Foundation_Collections, ArrayEqualityAndRemoval)
{
    auto array = NSMutableArray::create();
    for (const char* text : { "a", "b", "a", "c" })
        array->addObject(NSString::create(text).get());
    EXPECT_TRUE(array->isEqual(NSArray::create({ "a"_ns, "b"_ns, "a"_ns, "c"_ns }).get()));
    EXPECT_FALSE(array->isEqual(NSArray::create({ "a"_ns, "b"_ns }).get()));
    EXPECT_TRUE(array->containsObject(NSString::create("c").get()));

    // removeObject removes every equal object, not just the first or the identical one.
    array->removeObject(NSString::create("a").get());
    EXPECT_TRUE(array->isEqual(NSArray::create({ "b"_ns, "c"_ns }).get()));

    array->insertObjectAtIndex("z"_ns.get(), 0);
    EXPECT_EQ(array->firstObject()->descriptionString(), "z");
    array->removeObjectAtIndex(0);
    EXPECT_EQ(objc_msgSend<unsigned long>(array.get(), "count"_sel), 2u);
    EXPECT_EQ(objc_msgSend<id>(array.get(), "objectAtIndex:"_sel, 1ul), array->objectAtIndex(1));
    array->removeAllObjects();
    EXPECT_EQ(array->count(), 0u);
    EXPECT_EQ(array->firstObject(), nullptr);
}

TEST_F(Foundation_Collections, CopyOfAMutableArrayIsAnImmutableSnapshot)
{
    auto array = NSMutableArray::create();
    array->addObject("a"_ns.get());
    RefPtr<NSObject> copy = array->copy();
    array->addObject("b"_ns.get());

    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->getClass(), NSArray::staticClass());
    EXPECT_EQ(objc_cast<NSArray>(copy.get())->count(), 1u);
}

TEST_F(Foundation_Collections, CollectionDescriptionsFollowFoundationLayout)
{
    auto inner = NSDictionary::create({ { "c"_ns, NSNumber::numberWithInt(2) } });
    auto array = NSArray::create({ NSNumber::numberWithInt(1), "a b"_ns, NSArray::create({ "x"_ns }) });
    auto dictionary = NSDictionary::create({ { "a"_ns, NSNumber::numberWithDouble(1.5) }, { "b"_ns, inner }, { "list"_ns, array } });
    EXPECT_EQ(NSArray::create({})->descriptionString(), "(\n)");
    EXPECT_EQ(NSDictionary::create({})->descriptionString(), "{\n}");
    EXPECT_EQ(array->descriptionString(), "(\n    1,\n    \"a b\",\n        (\n        x\n    )\n)");
    EXPECT_EQ(dictionary->descriptionString(),
        "{\n"
        "    a = 1.5;\n"
        "    b =     {\n"
        "        c = 2;\n"
        "    };\n"
        "    list =     (\n"
        "        1,\n"
        "        \"a b\",\n"
        "                (\n"
        "            x\n"
        "        )\n"
        "    );\n"
        "}");
}

using Foundation_CollectionsDeathTest = FoundationTest;

TEST_F(Foundation_CollectionsDeathTest, OutOfRangeAndNilStopLikeFoundation)
{
    auto array = NSArray::create({ "a"_ns, "b"_ns, "c"_ns });
    EXPECT_DEATH(array->objectAtIndex(3), "NSRangeException.*-\\[NSArray objectAtIndex:\\]: index 3 beyond bounds \\[0 \\.\\. 2\\]");
    EXPECT_DEATH(NSArray::create({})->objectAtIndex(0), "NSRangeException.*index 0 beyond bounds for empty array");
    EXPECT_DEATH(NSMutableArray::create()->addObject(nullptr), "NSInvalidArgumentException.*object cannot be nil");
    EXPECT_DEATH(NSMutableDictionary::create()->setObject(nullptr, "key"), "NSInvalidArgumentException.*object cannot be nil \\(key: key\\)");
    EXPECT_DEATH(NSString::stringWithUTF8String(nullptr), "NULL cString");
}

TEST_F(Foundation_RuntimeMethods, DescriptionIsSentThroughTheRuntime)
{
    RefPtr<NSObject> number = NSNumber::numberWithDouble(1.5);
    auto text = objc_cast<NSString>(objc_msgSend<id>(number.get(), "description"_sel));
    ASSERT_TRUE(text);
    EXPECT_EQ(text->string(), "1.5");

    auto plain = NSObject::alloc();
    std::string description = plain->description()->string();
    EXPECT_EQ(description.rfind("<NSObject: 0x", 0), 0u) << description;
    EXPECT_EQ(description.back(), '>');

    // A string describes as itself, and the same object comes back.
    auto string = "hello"_ns;
    EXPECT_EQ(objc_msgSend<id>(string.get(), "description"_sel), string.get());
}

TEST_F(Foundation_RuntimeMethods, NSObjectAnswersTheBasicSelectors)
{
    auto object = NSObject::alloc();
    auto other = NSObject::alloc();
    EXPECT_EQ(objc_msgSend<id>(object.get(), "init"_sel), object.get());
    EXPECT_EQ(objc_msgSend<Class>(object.get(), "class"_sel), NSObject::staticClass());
    EXPECT_TRUE(objc_msgSend<bool>(object.get(), "isEqual:"_sel, static_cast<id>(object.get())));
    EXPECT_FALSE(objc_msgSend<bool>(object.get(), "isEqual:"_sel, static_cast<id>(other.get())));
    EXPECT_NE(objc_msgSend<unsigned long>(object.get(), "hash"_sel), objc_msgSend<unsigned long>(other.get(), "hash"_sel));
    EXPECT_TRUE(objc_msgSend<bool>(object.get(), "respondsToSelector:"_sel, "description"_sel));
    EXPECT_FALSE(objc_msgSend<bool>(object.get(), "respondsToSelector:"_sel, "floatValue"_sel));
    RefPtr<NSObject> string = "s"_ns;
    EXPECT_TRUE(objc_msgSend<bool>(string.get(), "respondsToSelector:"_sel, "floatValue"_sel));
    EXPECT_TRUE(objc_msgSend<bool>(string.get(), "isEqual:"_sel, static_cast<id>(NSString::create("s").get())));
}

TEST_F(Foundation_RuntimeMethods, CopyOfAnImmutableValueIsTheSameObjectAtPlusOne)
{
    for (RefPtr<NSObject> value : { RefPtr<NSObject>("text"_ns), RefPtr<NSObject>(NSNumber::numberWithInt(3)),
             RefPtr<NSObject>(NSArray::create({})), RefPtr<NSObject>(NSDictionary::create({})),
             RefPtr<NSObject>(NSDate::dateWithTimeIntervalSinceReferenceDate(5)), RefPtr<NSObject>(NSData::create({ 1 })) }) {
        SCOPED_TRACE(class_getName(value->getClass()));
        unsigned before = value->retainCount();
        id copy = objc_msgSend<id>(value.get(), "copy"_sel);
        EXPECT_EQ(copy, value.get());
        EXPECT_EQ(value->retainCount(), before + 1);
        copy->release();
    }
}

TEST_F(Foundation_RuntimeMethods, CopyPolicyAssociationStoresAnImmutableCopy)
{
    static const char key = 0;
    auto holder = NSObject::alloc();
    auto list = NSMutableArray::create();
    list->addObject("a"_ns.get());
    objc_setAssociatedObject(holder.get(), &key, list.get(), OBJC_ASSOCIATION_COPY_NONATOMIC);
    list->addObject("b"_ns.get());
    auto stored = objc_cast<NSArray>(objc_getAssociatedObject(holder.get(), &key));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->count(), 1u);
}

using Foundation_RuntimeMethodsDeathTest = FoundationTest;

TEST_F(Foundation_RuntimeMethodsDeathTest, CopyingAnObjectThatIsNotCopyableStops)
{
    auto object = NSObject::alloc();
    EXPECT_DEATH(object->copy(), "-\\[NSObject copyWithZone:\\]: unrecognized selector");
}

TEST_F(Foundation_JSON, ValuesBecomeTheirJSONCounterparts)
{
    auto userInfo = NSDictionary::create({
        { "title"_ns, "Song"_ns },
        { "playing"_ns, NSNumber::numberWithBool(true) },
        { "count"_ns, NSNumber::numberWithInt(3) },
        { "elapsed"_ns, NSNumber::numberWithDouble(1.5) },
        { "artwork"_ns, NSData::create({ 1, 2, 3 }) },
        { "timestamp"_ns, NSDate::dateWithTimeIntervalSinceReferenceDate(10) },
        { "queue"_ns, NSArray::create({ "a"_ns, NSNumber::numberWithInt(0) }) },
        { NSNumber::numberWithInt(7), "numeric key"_ns },
    });
    nlohmann::json expected = {
        { "title", "Song" },
        { "playing", true },
        { "count", 3 },
        { "elapsed", 1.5 },
        { "artwork", { { "bytes", 3 } } },
        { "timestamp", { { "date", 10.0 } } },
        { "queue", { "a", 0 } },
        { "7", "numeric key" },
    };
    EXPECT_EQ(userInfo->jsonValue(), expected);
    EXPECT_TRUE(userInfo->jsonValue()["playing"].is_boolean());
    EXPECT_TRUE(userInfo->jsonValue()["count"].is_number_integer());
}

TEST_F(Foundation_JSON, MalformedBytesInAStringStillMakeValidJSON)
{
    auto string = NSString::create("a\xFF"
                                   "b\xE2\x82");
    std::string dumped;
    ASSERT_NO_THROW(dumped = string->jsonValue().dump());
    EXPECT_EQ(dumped, "\"a\xEF\xBF\xBD"
                      "b\xEF\xBF\xBD\xEF\xBF\xBD\"");
    EXPECT_EQ(NSString::create("caf\xC3\xA9")->jsonValue().dump(), "\"caf\xC3\xA9\"");
}

TEST_F(Foundation_JSON, DatesAndDataDescribeThemselves)
{
    EXPECT_EQ(NSDate::dateWithTimeIntervalSinceReferenceDate(0)->descriptionString(), "2001-01-01 00:00:00 +0000");
    EXPECT_EQ(NSDate::dateWithTimeIntervalSince1970(0)->descriptionString(), "1970-01-01 00:00:00 +0000");
    EXPECT_EQ(NSDate::dateWithTimeIntervalSinceReferenceDate(86400 + 3661.75)->descriptionString(), "2001-01-02 01:01:01 +0000");
    EXPECT_EQ(NSDate::dateWithTimeIntervalSinceReferenceDate(-0.5)->descriptionString(), "2000-12-31 23:59:59 +0000");
    EXPECT_DOUBLE_EQ(NSDate::dateWithTimeIntervalSinceReferenceDate(1)->timeIntervalSince1970(), 978307201.0);
    EXPECT_EQ(NSData::create({ 0x68, 0x69 })->descriptionString(), "{length = 2, bytes = 0x6869}");
    std::vector<std::uint8_t> many(30);
    for (std::size_t i = 0; i < many.size(); ++i)
        many[i] = static_cast<std::uint8_t>(i);
    EXPECT_EQ(NSData::create(many)->descriptionString(), "{length = 30, bytes = 0x0001020304050607 ... 161718191a1b1c1d}");
}

} // namespace
