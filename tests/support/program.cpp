#include "tests/support/program.h"

#include <fstream>
#include <sstream>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace ftvb::testing {
namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

#ifdef _WIN32

std::wstring wide(const std::string& text) {
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

// One argument as CommandLineToArgvW reads it back: quoted when it holds a
// blank or a quote or is empty, backslashes doubled before a quote.
void appendQuoted(std::wstring& line, const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        line += arg;
        return;
    }
    line += L'"';
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, L'\\');
    line += L'"';
}

enum class Open { read, write, append };

HANDLE inheritable(const fs::path& p, Open how) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    const DWORD access = how == Open::read ? GENERIC_READ : how == Open::write ? GENERIC_WRITE : FILE_APPEND_DATA;
    return ::CreateFileW(p.wstring().c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &sa,
                         how == Open::write    ? CREATE_ALWAYS
                         : how == Open::append ? OPEN_ALWAYS
                                               : OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

#endif

}  // namespace

ProgramOutcome runProgram(const ProgramRun& run) {
    ProgramOutcome o;
    const fs::path scratch = fs::temp_directory_path();
    const std::string tag = std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    const fs::path outPath = scratch / ("ftvb-program-out-" + tag);
    const fs::path errPath = scratch / ("ftvb-program-err-" + tag);
#ifdef _WIN32
    std::wstring line;
    appendQuoted(line, run.program.wstring());
    for (const std::string& arg : run.args) {
        line += L' ';
        appendQuoted(line, wide(arg));
    }
    const HANDLE in = inheritable(run.input.empty() ? fs::path("NUL") : run.input, Open::read);
    const HANDLE out = run.output.empty() ? inheritable(outPath, Open::write) : inheritable(run.output, Open::append);
    const HANDLE err = inheritable(errPath, Open::write);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = in;
    si.hStdOutput = out;
    si.hStdError = err;
    PROCESS_INFORMATION pi{};
    const std::wstring folder = run.folder.wstring();
    // A memory limit is a job's: the program starts suspended, joins it,
    // then runs.
    HANDLE job = nullptr;
    if (run.memoryLimit != 0) {
        job = ::CreateJobObjectW(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_PROCESS_MEMORY;
        limits.ProcessMemoryLimit = run.memoryLimit;
        ::SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
    const bool started = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, job ? CREATE_SUSPENDED : 0,
                                          nullptr, folder.empty() ? nullptr : folder.c_str(), &si, &pi) != 0;
    for (const HANDLE h : {in, out, err}) {
        if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    }
    if (started && job != nullptr) {
        ::AssignProcessToJobObject(job, pi.hProcess);
        ::ResumeThread(pi.hThread);
    }
    if (started) {
        const auto ms = static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(run.limit).count());
        if (::WaitForSingleObject(pi.hProcess, ms) == WAIT_TIMEOUT) {
            ::TerminateProcess(pi.hProcess, 1);
            ::WaitForSingleObject(pi.hProcess, INFINITE);
            o.timedOut = true;
        } else {
            DWORD code = 0;
            ::GetExitCodeProcess(pi.hProcess, &code);
            o.status = static_cast<int>(code);
        }
        if (job != nullptr) {
            JOBOBJECT_EXTENDED_LIMIT_INFORMATION used{};
            ::QueryInformationJobObject(job, JobObjectExtendedLimitInformation, &used, sizeof used, nullptr);
            o.memoryLimitHeld = used.PeakProcessMemoryUsed <= run.memoryLimit;
        }
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }
    if (job != nullptr) ::CloseHandle(job);
#else
    std::vector<std::string> words{run.program.string()};
    words.insert(words.end(), run.args.begin(), run.args.end());
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    const std::string folder = run.folder.string();
    const std::string input = run.input.empty() ? "/dev/null" : run.input.string();
    const std::string outName = run.output.empty() ? outPath.string() : run.output.string();
    const int outFlags = O_WRONLY | O_CREAT | (run.output.empty() ? O_TRUNC : O_APPEND);
    const std::string errName = errPath.string();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int in = ::open(input.c_str(), O_RDONLY);
        const int out = ::open(outName.c_str(), outFlags, 0600);
        const int err = ::open(errName.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0 || (!folder.empty() && ::chdir(folder.c_str()) != 0)) ::_exit(125);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        if (run.memoryLimit != 0) {
            const rlimit lim{run.memoryLimit, run.memoryLimit};
            ::setrlimit(RLIMIT_AS, &lim);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    if (pid > 0) {
        const auto deadline = std::chrono::steady_clock::now() + run.limit;
        int raw = 0;
        while (::waitpid(pid, &raw, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, &raw, 0);
                o.timedOut = true;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        if (!o.timedOut && WIFEXITED(raw)) o.status = WEXITSTATUS(raw);
    }
#endif
    o.out = readAll(outPath);
    o.err = readAll(errPath);
    std::error_code ec;
    fs::remove(outPath, ec);
    fs::remove(errPath, ec);
    return o;
}

}  // namespace ftvb::testing
