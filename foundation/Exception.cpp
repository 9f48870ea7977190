#include "foundation/Exception.h"

#include "foundation/CodePage.h"

#include <windows.h>

#include <typeinfo>

namespace Kestrel {

namespace {

std::wstring withDetail(const std::wstring& message, const std::wstring& detail)
{
    if (detail.empty())
        return message;
    return message + L": " + detail;
}

} // namespace

Exception::Text::Text(const char* text)
    : value_(text ? fromCodePage(text, std::char_traits<char>::length(text), CP_ACP) : L"")
{
}

Exception::Text::Text(const std::string& text) : value_(fromCodePage(text.data(), text.size(), CP_ACP)) {}

Exception::Exception(int code) : code_(code) {}

Exception::Exception(const Text& message, int code) : message_(message.value()), code_(code) {}

Exception::Exception(const Text& message, const Text& detail, int code)
    : message_(withDetail(message.value(), detail.value())), code_(code)
{
}

Exception::Exception(const Text& message, const Exception& nested, int code)
    : message_(message.value()), nested_(nested.clone()), code_(code)
{
}

Exception::Exception(const Exception& other)
    : std::exception(other), message_(other.message_), nested_(other.nested_ ? other.nested_->clone() : nullptr),
      code_(other.code_)
{
}

Exception& Exception::operator=(const Exception& other)
{
    if (this == &other)
        return *this;
    // Everything is copied out of other before our nested exception goes: other may be that
    // nested exception (e = *e.nested()), and a failed clone then leaves us unchanged.
    std::unique_ptr<Exception> nested = other.nested_ ? other.nested_->clone() : nullptr;
    std::wstring message = other.message_;
    const int code = other.code_;
    nested_ = std::move(nested);
    message_ = std::move(message);
    code_ = code;
    return *this;
}

Exception::~Exception() = default;

const char* Exception::name() const noexcept
{
    return "Exception";
}

const char* Exception::className() const noexcept
{
    return typeid(*this).name();
}

const char* Exception::text() const noexcept
{
    return name();
}

std::unique_ptr<Exception> Exception::clone() const
{
    return std::make_unique<Exception>(*this);
}

void Exception::rethrow() const
{
    throw *this;
}

std::wstring Exception::fullText() const
{
    const char* fixedName = name();
    std::wstring text = fromCodePage(fixedName, std::char_traits<char>::length(fixedName), CP_ACP);
    if (!message_.empty())
        text += L": " + message_;
    return text;
}

void Exception::appendDetail(const Text& detail)
{
    if (detail.value().empty())
        return;
    if (!message_.empty())
        message_ += L": ";
    message_ += detail.value();
}

// Everything but the fixed text is the same for every class.
#define KESTREL_IMPLEMENT_EXCEPTION(Class, fixedText)                                                          \
    Class::~Class() = default;                                                                                 \
    const char* Class::name() const noexcept                                                                   \
    {                                                                                                          \
        return fixedText;                                                                                      \
    }                                                                                                          \
    const char* Class::className() const noexcept                                                              \
    {                                                                                                          \
        return typeid(*this).name();                                                                           \
    }                                                                                                          \
    std::unique_ptr<Exception> Class::clone() const                                                            \
    {                                                                                                          \
        return std::make_unique<Class>(*this);                                                                 \
    }                                                                                                          \
    void Class::rethrow() const                                                                                \
    {                                                                                                          \
        throw *this;                                                                                           \
    }

KESTREL_IMPLEMENT_EXCEPTION(LogicException, "Logic exception")
KESTREL_IMPLEMENT_EXCEPTION(AssertionViolationException, "Assertion violation")
KESTREL_IMPLEMENT_EXCEPTION(NullPointerException, "Null pointer")
KESTREL_IMPLEMENT_EXCEPTION(BugcheckException, "Bugcheck")
KESTREL_IMPLEMENT_EXCEPTION(InvalidArgumentException, "Invalid argument")
KESTREL_IMPLEMENT_EXCEPTION(NotImplementedException, "Not implemented")
KESTREL_IMPLEMENT_EXCEPTION(RangeException, "Out of range")
KESTREL_IMPLEMENT_EXCEPTION(IllegalStateException, "Illegal state")
KESTREL_IMPLEMENT_EXCEPTION(InvalidAccessException, "Invalid access")
KESTREL_IMPLEMENT_EXCEPTION(SignalException, "Signal received")
KESTREL_IMPLEMENT_EXCEPTION(UnhandledException, "Unhandled exception")
KESTREL_IMPLEMENT_EXCEPTION(RuntimeException, "Runtime exception")
KESTREL_IMPLEMENT_EXCEPTION(NotFoundException, "Not found")
KESTREL_IMPLEMENT_EXCEPTION(ExistsException, "Exists")
KESTREL_IMPLEMENT_EXCEPTION(TimeoutException, "Timeout")
KESTREL_IMPLEMENT_EXCEPTION(SystemException, "System exception")
KESTREL_IMPLEMENT_EXCEPTION(RegularExpressionException, "Error in regular expression")
KESTREL_IMPLEMENT_EXCEPTION(LibraryLoadException, "Cannot load library")
KESTREL_IMPLEMENT_EXCEPTION(LibraryAlreadyLoadedException, "Library already loaded")
KESTREL_IMPLEMENT_EXCEPTION(NoThreadAvailableException, "No thread available")
KESTREL_IMPLEMENT_EXCEPTION(PropertyNotSupportedException, "Property not supported")
KESTREL_IMPLEMENT_EXCEPTION(PoolOverflowException, "Overflow")
KESTREL_IMPLEMENT_EXCEPTION(NoPermissionException, "No permission")
KESTREL_IMPLEMENT_EXCEPTION(OutOfMemoryException, "Out of memory")
KESTREL_IMPLEMENT_EXCEPTION(UnknownURISchemeException, "Unknown URI scheme")
KESTREL_IMPLEMENT_EXCEPTION(BadCastException, "Bad cast exception")
KESTREL_IMPLEMENT_EXCEPTION(DataException, "Data error")
KESTREL_IMPLEMENT_EXCEPTION(DataFormatException, "Bad data format")
KESTREL_IMPLEMENT_EXCEPTION(CircularReferenceException, "Circular reference")
KESTREL_IMPLEMENT_EXCEPTION(SyntaxException, "Syntax error")
KESTREL_IMPLEMENT_EXCEPTION(PathSyntaxException, "Bad path syntax")
KESTREL_IMPLEMENT_EXCEPTION(IOException, "I/O error")
KESTREL_IMPLEMENT_EXCEPTION(ProtocolException, "Protocol error")
KESTREL_IMPLEMENT_EXCEPTION(FileException, "File access error")
KESTREL_IMPLEMENT_EXCEPTION(FileExistsException, "File exists")
KESTREL_IMPLEMENT_EXCEPTION(FileNotFoundException, "File not found")
KESTREL_IMPLEMENT_EXCEPTION(PathNotFoundException, "Path not found")
KESTREL_IMPLEMENT_EXCEPTION(FileReadOnlyException, "File is read-only")
KESTREL_IMPLEMENT_EXCEPTION(FileAccessDeniedException, "Access to file denied")
KESTREL_IMPLEMENT_EXCEPTION(CreateFileException, "Cannot create file")
KESTREL_IMPLEMENT_EXCEPTION(OpenFileException, "Cannot open file")
KESTREL_IMPLEMENT_EXCEPTION(WriteFileException, "Cannot write file")
KESTREL_IMPLEMENT_EXCEPTION(ReadFileException, "Cannot read file")
KESTREL_IMPLEMENT_EXCEPTION(NetException, "Net Exception")
KESTREL_IMPLEMENT_EXCEPTION(InvalidAddressException, "Invalid address")
KESTREL_IMPLEMENT_EXCEPTION(ServiceNotFoundException, "Service not found")
KESTREL_IMPLEMENT_EXCEPTION(ConnectionAbortedException, "Software caused connection abort")
KESTREL_IMPLEMENT_EXCEPTION(ConnectionResetException, "Connection reset by peer")
KESTREL_IMPLEMENT_EXCEPTION(ConnectionRefusedException, "Connection refused")
KESTREL_IMPLEMENT_EXCEPTION(DNSException, "DNS error")
KESTREL_IMPLEMENT_EXCEPTION(HostNotFoundException, "Host not found")
KESTREL_IMPLEMENT_EXCEPTION(NoAddressFoundException, "No address found")
KESTREL_IMPLEMENT_EXCEPTION(InterfaceNotFoundException, "Interface not found")
KESTREL_IMPLEMENT_EXCEPTION(NoMessageException, "No message received")
KESTREL_IMPLEMENT_EXCEPTION(MessageException, "Malformed message")
KESTREL_IMPLEMENT_EXCEPTION(MultipartException, "Malformed multipart message")
KESTREL_IMPLEMENT_EXCEPTION(HTTPException, "HTTP Exception")
KESTREL_IMPLEMENT_EXCEPTION(NotAuthenticatedException, "No authentication information found")
KESTREL_IMPLEMENT_EXCEPTION(UnsupportedRedirectException, "Unsupported HTTP redirect (protocol change)")
KESTREL_IMPLEMENT_EXCEPTION(FTPException, "FTP Exception")
KESTREL_IMPLEMENT_EXCEPTION(SMTPException, "SMTP Exception")
KESTREL_IMPLEMENT_EXCEPTION(POP3Exception, "POP3 Exception")
KESTREL_IMPLEMENT_EXCEPTION(ICMPException, "ICMP Exception")
KESTREL_IMPLEMENT_EXCEPTION(ApplicationException, "Application exception")

#undef KESTREL_IMPLEMENT_EXCEPTION

} // namespace Kestrel
