#pragma once

#include <exception>
#include <memory>
#include <string>

namespace Kestrel {

// Root of the foundation library's exceptions. Every class of the family has the same shape and
// differs only in its base and in the fixed text name() gives. what() is the standard library's
// own text: the message lives in message() and fullText().
class Exception : public std::exception {
public:
    // A message in either width; narrow text is widened through the ANSI code page.
    class Text {
    public:
        Text(const wchar_t* text) : value_(text ? text : L"") {}
        Text(std::wstring text) noexcept : value_(std::move(text)) {}
        Text(const char* text);
        Text(const std::string& text);
        const std::wstring& value() const noexcept { return value_; }

    private:
        std::wstring value_;
    };

    explicit Exception(int code = 0);
    explicit Exception(const Text& message, int code = 0);
    // The message, then ": " and the detail when the detail is not empty.
    Exception(const Text& message, const Text& detail, int code = 0);
    // Keeps a clone of the exception that caused this one.
    Exception(const Text& message, const Exception& nested, int code = 0);
    Exception(const Exception& other);
    Exception& operator=(const Exception& other);
    ~Exception() override;

    // The class's fixed text ("Exception" here).
    virtual const char* name() const noexcept;
    // The run-time type name the toolchain records for the object's class.
    virtual const char* className() const noexcept;
    virtual const char* text() const noexcept;
    // A heap copy of the exact class, with its own clone of the nested exception.
    virtual std::unique_ptr<Exception> clone() const;
    // Throws a copy of the exact class, also when called through a base reference.
    [[noreturn]] virtual void rethrow() const;

    // name(), then ": " and the message when there is one.
    std::wstring fullText() const;
    // Adds ": " and the detail to a non-empty message; an empty detail changes nothing.
    void appendDetail(const Text& detail);

    const std::wstring& message() const noexcept { return message_; }
    const Exception* nested() const noexcept { return nested_.get(); }
    int code() const noexcept { return code_; }

private:
    std::wstring message_;
    std::unique_ptr<Exception> nested_;
    int code_ = 0;
};

// The shape every derived class shares; the fixed text is given where the class is implemented
// (KESTREL_IMPLEMENT_EXCEPTION in Exception.cpp).
#define KESTREL_DECLARE_EXCEPTION(Class, Base)                                                                  \
    class Class : public Base {                                                                                \
    public:                                                                                                    \
        explicit Class(int code = 0) : Base(code) {}                                                           \
        explicit Class(const Text& message, int code = 0) : Base(message, code) {}                             \
        Class(const Text& message, const Text& detail, int code = 0) : Base(message, detail, code) {}          \
        Class(const Text& message, const Exception& nested, int code = 0) : Base(message, nested, code) {}     \
        Class(const Class& other) = default;                                                                   \
        Class& operator=(const Class& other) = default;                                                        \
        ~Class() override;                                                                                     \
        const char* name() const noexcept override;                                                            \
        const char* className() const noexcept override;                                                       \
        std::unique_ptr<Exception> clone() const override;                                                     \
        [[noreturn]] void rethrow() const override;                                                            \
    }

// The family, indented as it derives.
KESTREL_DECLARE_EXCEPTION(LogicException, Exception);
    KESTREL_DECLARE_EXCEPTION(AssertionViolationException, LogicException);
    KESTREL_DECLARE_EXCEPTION(NullPointerException, LogicException);
    KESTREL_DECLARE_EXCEPTION(BugcheckException, LogicException);
    KESTREL_DECLARE_EXCEPTION(InvalidArgumentException, LogicException);
    KESTREL_DECLARE_EXCEPTION(NotImplementedException, LogicException);
    KESTREL_DECLARE_EXCEPTION(RangeException, LogicException);
    KESTREL_DECLARE_EXCEPTION(IllegalStateException, LogicException);
    KESTREL_DECLARE_EXCEPTION(InvalidAccessException, LogicException);
    KESTREL_DECLARE_EXCEPTION(SignalException, LogicException);
    KESTREL_DECLARE_EXCEPTION(UnhandledException, LogicException);
KESTREL_DECLARE_EXCEPTION(RuntimeException, Exception);
    KESTREL_DECLARE_EXCEPTION(NotFoundException, RuntimeException);
    KESTREL_DECLARE_EXCEPTION(ExistsException, RuntimeException);
    KESTREL_DECLARE_EXCEPTION(TimeoutException, RuntimeException);
    KESTREL_DECLARE_EXCEPTION(SystemException, RuntimeException);
    KESTREL_DECLARE_EXCEPTION(RegularExpressionException, RuntimeException);
    KESTREL_DECLARE_EXCEPTION(LibraryLoadException, RuntimeException);
    KESTREL_DECLARE_EXCEPTION(LibraryAlreadyLoadedException, RuntimeException);
    KESTREL_DECLARE_EXCEPTION(NoThreadAvailableException, RuntimeException);
    KESTREL_DECLARE_EXCEPTION(PropertyNotSupportedException, RuntimeException);
    KESTREL_DECLARE_EXCEPTION(PoolOverflowException, RuntimeException);
    KESTREL_DECLARE_EXCEPTION(NoPermissionException, RuntimeException);
    KESTREL_DECLARE_EXCEPTION(OutOfMemoryException, RuntimeException);
    KESTREL_DECLARE_EXCEPTION(UnknownURISchemeException, RuntimeException);
    KESTREL_DECLARE_EXCEPTION(BadCastException, RuntimeException);
    KESTREL_DECLARE_EXCEPTION(DataException, RuntimeException);
        KESTREL_DECLARE_EXCEPTION(DataFormatException, DataException);
        KESTREL_DECLARE_EXCEPTION(CircularReferenceException, DataException);
        KESTREL_DECLARE_EXCEPTION(SyntaxException, DataException);
            KESTREL_DECLARE_EXCEPTION(PathSyntaxException, SyntaxException);
    KESTREL_DECLARE_EXCEPTION(IOException, RuntimeException);
        KESTREL_DECLARE_EXCEPTION(ProtocolException, IOException);
        KESTREL_DECLARE_EXCEPTION(FileException, IOException);
            KESTREL_DECLARE_EXCEPTION(FileExistsException, FileException);
            KESTREL_DECLARE_EXCEPTION(FileNotFoundException, FileException);
            KESTREL_DECLARE_EXCEPTION(PathNotFoundException, FileException);
            KESTREL_DECLARE_EXCEPTION(FileReadOnlyException, FileException);
            KESTREL_DECLARE_EXCEPTION(FileAccessDeniedException, FileException);
            KESTREL_DECLARE_EXCEPTION(CreateFileException, FileException);
            KESTREL_DECLARE_EXCEPTION(OpenFileException, FileException);
            KESTREL_DECLARE_EXCEPTION(WriteFileException, FileException);
            KESTREL_DECLARE_EXCEPTION(ReadFileException, FileException);
        KESTREL_DECLARE_EXCEPTION(NetException, IOException);
            KESTREL_DECLARE_EXCEPTION(InvalidAddressException, NetException);
            KESTREL_DECLARE_EXCEPTION(ServiceNotFoundException, NetException);
            KESTREL_DECLARE_EXCEPTION(ConnectionAbortedException, NetException);
            KESTREL_DECLARE_EXCEPTION(ConnectionResetException, NetException);
            KESTREL_DECLARE_EXCEPTION(ConnectionRefusedException, NetException);
            KESTREL_DECLARE_EXCEPTION(DNSException, NetException);
                KESTREL_DECLARE_EXCEPTION(HostNotFoundException, DNSException);
                KESTREL_DECLARE_EXCEPTION(NoAddressFoundException, DNSException);
            KESTREL_DECLARE_EXCEPTION(InterfaceNotFoundException, NetException);
            KESTREL_DECLARE_EXCEPTION(NoMessageException, NetException);
            KESTREL_DECLARE_EXCEPTION(MessageException, NetException);
                KESTREL_DECLARE_EXCEPTION(MultipartException, MessageException);
            KESTREL_DECLARE_EXCEPTION(HTTPException, NetException);
                KESTREL_DECLARE_EXCEPTION(NotAuthenticatedException, HTTPException);
                KESTREL_DECLARE_EXCEPTION(UnsupportedRedirectException, HTTPException);
            KESTREL_DECLARE_EXCEPTION(FTPException, NetException);
            KESTREL_DECLARE_EXCEPTION(SMTPException, NetException);
            KESTREL_DECLARE_EXCEPTION(POP3Exception, NetException);
            KESTREL_DECLARE_EXCEPTION(ICMPException, NetException);
KESTREL_DECLARE_EXCEPTION(ApplicationException, Exception);

} // namespace Kestrel
