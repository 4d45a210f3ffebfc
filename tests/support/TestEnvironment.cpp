// Sets the test environment (QEL_TEST_ENVIRONMENT: NAME=value entries joined
// by '|') before any test runs; variables the caller already set are kept.
#include <cstdlib>
#include <string>

namespace {

struct TestEnvironment {
    TestEnvironment()
    {
        const std::string entries = QEL_TEST_ENVIRONMENT;
        size_t start = 0;
        while (start < entries.size()) {
            size_t end = entries.find('|', start);
            if (end == std::string::npos)
                end = entries.size();
            const std::string entry = entries.substr(start, end - start);
            const size_t equals = entry.find('=');
            if (equals != std::string::npos)
                setenv(entry.substr(0, equals).c_str(), entry.substr(equals + 1).c_str(), 0);
            start = end + 1;
        }
    }
};

const TestEnvironment environment;

}  // namespace
