#include "tests/support/UnixScratch.h"

#include "tests/support/UnixShell.h"

namespace KestrelTest {

UnixScratch::UnixScratch() : unix_(unixPathOf(scratch_.path())) {}

UnixScratch::~UnixScratch()
{
    // rm never follows a link; what a Windows removal would stop at goes here.
    if (!unix_.empty())
        static_cast<void>(runUnixShell("rm -rf " + shellQuoted(unix_) + "/*\n"));
}

testing::AssertionResult UnixScratch::make(const std::string& script) const
{
    const ShellResult result = runUnixShell("set -e\ncd " + shellQuoted(unix_) + "\n" + script);
    if (result.finished && result.status == 0)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << result.output;
}

} // namespace KestrelTest
