// Counts what a process asks of a database server through ODBC: the statements it hands the
// driver manager (SQLExecDirectW, SQLExecute) and the requests its driver sends (every send() on
// a socket: the PostgreSQL client library writes one whole request, then waits for the answer,
// so each is one round trip). Linked into a benchmark, or preloaded (LD_PRELOAD) into a program a
// benchmark starts; with RFSTATION_COUNT_FILE set, "<statements> <round trips>" is written there
// when the process ends.

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <sys/socket.h>

namespace {

std::atomic<long long> statements{0};
std::atomic<long long> sends{0};

// The next definition of `name` after this library, or the one of the library `fallback`, which
// a plugin may have loaded out of the global scope.
void *nextSymbol(const char *name, const char *fallback)
{
    if (void *found = dlsym(RTLD_NEXT, name))
        return found;
    if (void *library = dlopen(fallback, RTLD_LAZY | RTLD_NOLOAD))
        return dlsym(library, name);
    return nullptr;
}

struct Report
{
    ~Report()
    {
        const char *path = std::getenv("RFSTATION_COUNT_FILE");
        if (!path)
            return;
        if (FILE *out = std::fopen(path, "w")) {
            std::fprintf(out, "%lld %lld\n", statements.load(), sends.load());
            std::fclose(out);
        }
    }
} report;

} // namespace

extern "C" {

long long rfCountedStatements() { return statements.load(); }
long long rfCountedRoundTrips() { return sends.load(); }

ssize_t send(int fd, const void *buffer, size_t length, int flags)
{
    using Send = ssize_t (*)(int, const void *, size_t, int);
    static const auto real = reinterpret_cast<Send>(nextSymbol("send", "libc.so.6"));
    ++sends;
    return real(fd, buffer, length, flags);
}

short SQLExecDirectW(void *statement, void *text, int length)
{
    using Exec = short (*)(void *, void *, int);
    static const auto real = reinterpret_cast<Exec>(nextSymbol("SQLExecDirectW", "libodbc.so.2"));
    ++statements;
    return real(statement, text, length);
}

short SQLExecute(void *statement)
{
    using Exec = short (*)(void *);
    static const auto real = reinterpret_cast<Exec>(nextSymbol("SQLExecute", "libodbc.so.2"));
    ++statements;
    return real(statement);
}

} // extern "C"
