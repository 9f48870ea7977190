#include "foundation/Exception.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <typeinfo>

namespace {

using namespace Kestrel;

TEST(Exception, ConstructorsBuildTheMessage)
{
    EXPECT_EQ(Exception(7).message(), L"");
    EXPECT_EQ(Exception(7).code(), 7);
    EXPECT_EQ(Exception(L"Parse failed").message(), L"Parse failed");
    EXPECT_EQ(Exception("Parse failed", 3).code(), 3);
    EXPECT_EQ(Exception(L"Cannot open", L"C:\\x.txt").message(), L"Cannot open: C:\\x.txt");
    // An empty detail adds no separator.
    EXPECT_EQ(Exception(L"Cannot open", L"").message(), L"Cannot open");
    EXPECT_EQ(Exception(std::wstring(), L"C:\\x.txt").message(), L": C:\\x.txt");
    EXPECT_EQ(Exception(L"outer", Exception(L"inner")).nested()->message(), L"inner");
}

TEST(Exception, NarrowTextIsWidenedThroughTheAnsiCodePage)
{
    // 0xE9 is e-acute in code page 1252, the ANSI code page of an English Windows or Wine.
    if (GetACP() != 1252)
        GTEST_SKIP() << "ANSI code page " << GetACP();
    EXPECT_EQ(Exception("caf\xE9").message(), L"caf\u00E9");
    EXPECT_EQ(Exception(std::string("a\xE9"), std::string("b")).message(), L"a\u00E9: b");
}

TEST(Exception, FullTextJoinsNameAndMessage)
{
    EXPECT_EQ(Exception("Parse failed").fullText(), L"Exception: Parse failed");
    EXPECT_EQ(Exception().fullText(), L"Exception");
    EXPECT_EQ(PathSyntaxException(L"C:x").fullText(), L"Bad path syntax: C:x");
    EXPECT_EQ(UnsupportedRedirectException().fullText(), L"Unsupported HTTP redirect (protocol change)");
    // The standard text is never replaced by the message.
    EXPECT_STRNE(Exception("Parse failed").what(), "Parse failed");
}

TEST(Exception, NameAndTextAreTheClassTextThroughAnyReference)
{
    const HostNotFoundException host;
    const Exception& root = host;
    EXPECT_STREQ(root.name(), "Host not found");
    EXPECT_STREQ(root.text(), "Host not found");
    EXPECT_STREQ(static_cast<const NetException&>(host).name(), "Host not found");
    EXPECT_STREQ(root.className(), typeid(HostNotFoundException).name());
    EXPECT_STRNE(root.className(), typeid(Exception).name());
    EXPECT_STREQ(ApplicationException().name(), "Application exception");
    EXPECT_STREQ(LogicException().name(), "Logic exception");
}

TEST(Exception, AppendDetailAddsASeparatorOnlyBetweenTexts)
{
    Exception error(L"Cannot open");
    error.appendDetail(L"");
    EXPECT_EQ(error.message(), L"Cannot open");
    error.appendDetail("C:\\x.txt");
    EXPECT_EQ(error.message(), L"Cannot open: C:\\x.txt");

    Exception bare;
    bare.appendDetail(L"C:\\x.txt");
    EXPECT_EQ(bare.message(), L"C:\\x.txt");
}

template <typename Base>
bool caughtAs(const Exception& error)
{
    try {
        error.rethrow();
    } catch (const Base&) {
        return true;
    } catch (...) {
    }
    return false;
}

TEST(Exception, DeepClassIsCaughtThroughEveryBase)
{
    const PathSyntaxException error(L"C:x");
    EXPECT_TRUE(caughtAs<PathSyntaxException>(error));
    EXPECT_TRUE(caughtAs<SyntaxException>(error));
    EXPECT_TRUE(caughtAs<DataException>(error));
    EXPECT_TRUE(caughtAs<RuntimeException>(error));
    EXPECT_TRUE(caughtAs<Exception>(error));
    EXPECT_TRUE(caughtAs<std::exception>(error));
    EXPECT_FALSE(caughtAs<LogicException>(error));
    EXPECT_FALSE(caughtAs<IOException>(error));

    const MultipartException multipart;
    EXPECT_TRUE(caughtAs<MessageException>(multipart));
    EXPECT_TRUE(caughtAs<NetException>(multipart));
    EXPECT_TRUE(caughtAs<IOException>(multipart));
    EXPECT_FALSE(caughtAs<HTTPException>(multipart));
}

TEST(Exception, RethrowThroughABaseReferenceKeepsTheClassAndContent)
{
    const FileNotFoundException original(L"C:\\x.txt", Exception(L"cause"), 2);
    const Exception& root = original;
    try {
        root.rethrow();
        FAIL() << "rethrow returned";
    } catch (const FileNotFoundException& caught) {
        EXPECT_NE(&caught, &original);
        EXPECT_EQ(caught.fullText(), L"File not found: C:\\x.txt");
        EXPECT_EQ(caught.code(), 2);
        ASSERT_NE(caught.nested(), nullptr);
        EXPECT_NE(caught.nested(), original.nested());
        EXPECT_EQ(caught.nested()->message(), L"cause");
    } catch (...) {
        FAIL() << "caught as another class";
    }
}

TEST(Exception, ClonesOwnTheirNestedExceptions)
{
    std::unique_ptr<Exception> copy;
    {
        const TimeoutException cause(L"no answer", 5);
        auto source = std::make_unique<IOException>(L"read failed", cause, 1);
        copy = static_cast<const Exception&>(*source).clone();
        EXPECT_NE(copy->nested(), source->nested());
        // The nested exception is cloned as its own class, not as the root.
        EXPECT_STREQ(copy->nested()->name(), "Timeout");
        EXPECT_TRUE(caughtAs<TimeoutException>(*copy->nested()));
    }
    EXPECT_TRUE(dynamic_cast<IOException*>(copy.get()) != nullptr);
    EXPECT_EQ(copy->fullText(), L"I/O error: read failed");
    ASSERT_NE(copy->nested(), nullptr);
    EXPECT_EQ(copy->nested()->fullText(), L"Timeout: no answer");
    EXPECT_EQ(copy->nested()->code(), 5);
}

TEST(Exception, AssignmentReplacesEverythingAndSurvivesSelfAndNestedSources)
{
    Exception target(L"old", Exception(L"old cause"), 1);
    const Exception source(L"new", Exception(L"new cause"), 2);
    target = source;
    EXPECT_EQ(target.message(), L"new");
    EXPECT_EQ(target.code(), 2);
    ASSERT_NE(target.nested(), nullptr);
    EXPECT_NE(target.nested(), source.nested());
    EXPECT_EQ(target.nested()->message(), L"new cause");

    target = Exception(L"plain");
    EXPECT_EQ(target.nested(), nullptr);
    EXPECT_EQ(target.code(), 0);

    Exception self(L"self", Exception(L"cause"), 3);
    const Exception* nestedBefore = self.nested();
    Exception& alias = self;
    self = alias;
    EXPECT_EQ(self.message(), L"self");
    EXPECT_EQ(self.code(), 3);
    EXPECT_EQ(self.nested(), nestedBefore);

    // Assigning the owned nested exception to its owner must read it before it is released.
    Exception owner(L"outer", Exception(L"inner", Exception(L"deepest"), 9), 1);
    owner = *owner.nested();
    EXPECT_EQ(owner.message(), L"inner");
    EXPECT_EQ(owner.code(), 9);
    ASSERT_NE(owner.nested(), nullptr);
    EXPECT_EQ(owner.nested()->message(), L"deepest");
}

} // namespace
