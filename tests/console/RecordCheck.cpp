#include "tests/console/RecordCheck.h"

#include "tests/support/UnixShell.h"

namespace ConsoleTest {

std::string checkedRecord(const std::wstring& file)
{
    const std::string check = R"(
import hashlib, json, sys
lines = open(sys.argv[1], 'rb').read().split(b'\n')
assert lines.pop() == b'', 'the last line has no end'
for line in lines:
    o = json.loads(line)
    if o['type'] == 'item':
        print(o['seq'], o['result'], (o['error'] or {}).get('code'), o['verified'], o['read_back'],
              *([len(o['contents'])] if 'contents' in o else []))
    else:
        print(o['type'])
if lines and json.loads(lines[-1])['type'] == 'summary':
    digest = hashlib.sha256(b''.join(line + b'\n' for line in lines[:-1])).hexdigest()
    print('hash', digest == json.loads(lines[-1])['sha256'])
)";
    using KestrelTest::shellQuoted;
    return KestrelTest::runUnixShell("python3 -c " + shellQuoted(check) + " " +
                                     shellQuoted(KestrelTest::unixPathOf(file)) + " 2>&1\n")
        .output;
}

} // namespace ConsoleTest
