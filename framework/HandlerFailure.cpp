#include "framework/HandlerFailure.h"

#include <exception>

namespace Kestrel {

namespace {
thread_local std::exception_ptr keptFailure;
} // namespace

void keepHandlerFailure() noexcept
{
    if (!keptFailure)
        keptFailure = std::current_exception();
}

bool hasHandlerFailure() noexcept
{
    return static_cast<bool>(keptFailure);
}

void rethrowHandlerFailure()
{
    if (!keptFailure)
        return;
    std::exception_ptr failure;
    failure.swap(keptFailure);
    std::rethrow_exception(failure);
}

} // namespace Kestrel
