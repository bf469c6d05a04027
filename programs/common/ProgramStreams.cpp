#include "ProgramStreams.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <locale.h>
#include <unistd.h>
#endif

#include "ConsoleText.h"

namespace programs {

namespace {

const char* g_pszName = "programme";

void WriteStderr(const std::string& strBytes) { std::fwrite(strBytes.data(), 1, strBytes.size(), stderr); }

#ifdef _WIN32
int OpenForReading(const char* pszPath) { return ::_open(pszPath, _O_RDONLY | _O_BINARY); }
long long ReadFrom(int nFd, char* pBuffer, std::size_t uSize) {
    const unsigned int uChunk = uSize > 0x40000000u ? 0x40000000u : static_cast<unsigned int>(uSize);
    return ::_read(nFd, pBuffer, uChunk);
}
void CloseFd(int nFd) { ::_close(nFd); }
#else
int OpenForReading(const char* pszPath) { return ::open(pszPath, O_RDONLY); }
long long ReadFrom(int nFd, char* pBuffer, std::size_t uSize) {
    for (;;) {
        const ssize_t nRead = ::read(nFd, pBuffer, uSize);
        if (nRead >= 0 || errno != EINTR) return nRead;
    }
}
void CloseFd(int nFd) { ::close(nFd); }
#endif

// The reasons met most, for systems without French messages.
const char* OwnReason(int nError) {
    switch (nError) {
    case ENOENT: return "fichier ou dossier introuvable";
    case EACCES: return "permission refus\xC3\xA9" "e";
    case EISDIR: return "c'est un dossier";
    case ENOSPC: return "plus de place sur le disque";
    case EPIPE: return "le tube est ferm\xC3\xA9";
    case EIO: return "erreur d'entr\xC3\xA9" "e-sortie";
    default: return nullptr;
    }
}

}  // namespace

void StartProgram(const char* pszName) {
    g_pszName = pszName;
#ifdef _WIN32
    ::_setmode(::_fileno(stdin), _O_BINARY);
    ::_setmode(::_fileno(stdout), _O_BINARY);
#endif
}

const char* ProgramName() { return g_pszName; }

bool Output::Flush() {
    if (!m_strBuffer.empty()) {
        if (!m_bFailed && std::fwrite(m_strBuffer.data(), 1, m_strBuffer.size(), stdout) != m_strBuffer.size())
            m_bFailed = true;
        m_strBuffer.clear();
    }
    if (!m_bFailed && std::fflush(stdout) != 0) m_bFailed = true;
    return !m_bFailed;
}

Output& StandardOutput() {
    static Output* s_pOutput = [] {
        auto* pOutput = new Output();
        pOutput->Buffer().reserve(Output::kSize + Output::kSize / 4);
        return pOutput;
    }();
    return *s_pOutput;
}

void Say(std::string_view textUtf8) {
    StandardOutput().Flush();
    WriteStderr(std::string(g_pszName) + " : " + Utf8ToTerminal(textUtf8) + "\n");
}

int UsageError(std::string_view textUtf8) {
    Say(textUtf8);
    WriteStderr(Utf8ToTerminal("Voir \xC2\xAB " + std::string(g_pszName) + " --aide \xC2\xBB.\n"));
    return kExitUsage;
}

int WriteHelp(std::string_view textUtf8) {
    StandardOutput().Buffer() += Utf8ToTerminal(textUtf8);
    return FinishOutput();
}

int FinishOutput() {
    const int nError = errno;
    if (StandardOutput().Flush()) return kExitOk;
    Say("\xC3\xA9" "criture impossible sur la sortie standard : " + SystemReason(errno != 0 ? errno : nError));
    return kExitUsage;
}

std::string ArgumentText(std::string_view argument) {
#ifdef _WIN32
    return Recode(CP_ACP, CP_UTF8, argument);
#else
    return std::string(argument);
#endif
}

std::string SystemReason(int nError) {
#ifndef _WIN32
    // The C library's own French messages, whatever the user's locale, when
    // they are installed (Debian: libc-l10n and a French locale).
    static const locale_t s_french = [] {
        for (const char* pszName : {"fr_FR.UTF-8", "fr_FR.utf8", "C.UTF-8"}) {
            const locale_t locale = ::newlocale(LC_MESSAGES_MASK | LC_CTYPE_MASK, pszName, static_cast<locale_t>(0));
            if (locale != static_cast<locale_t>(0)) return locale;
        }
        return static_cast<locale_t>(0);
    }();
    if (s_french != static_cast<locale_t>(0)) {
        const std::string strReason = ::strerror_l(nError, s_french);
        // A French translation differs from the C library's English text.
        if (OwnReason(nError) == nullptr || strReason != std::strerror(nError)) return strReason;
    }
#endif
    if (const char* pszOwn = OwnReason(nError)) return pszOwn;
    return std::strerror(nError);
}

std::string InputName(const std::string& strName) {
    return strName == "-" ? "(entr\xC3\xA9" "e standard)" : ArgumentText(strName);
}

Input::Input(const std::string& strName) : m_strName(InputName(strName)) {
    if (strName == "-") {
        m_nFd = 0;
    } else {
        m_nFd = OpenForReading(strName.c_str());
        m_bOwned = m_nFd >= 0;
        if (m_nFd < 0) {
            m_nError = errno;
            return;
        }
    }
#ifdef _WIN32
    struct _stat64 status {};
    m_bInteractive = ::_fstat64(m_nFd, &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG;
#else
    struct stat status {};
    m_bInteractive = ::fstat(m_nFd, &status) != 0 || !S_ISREG(status.st_mode);
#endif
}

Input::~Input() {
    if (m_bOwned) CloseFd(m_nFd);
}

long long Input::Read(char* pBuffer, std::size_t uSize) {
    const long long nRead = ReadFrom(m_nFd, pBuffer, uSize);
    if (nRead < 0) m_nError = errno;
    return nRead;
}

InputOutcome ReadInput(const std::string& strName, PieceReader& reader) {
    Input input(strName);
    if (!input.IsOpen()) {
        Say("fichier illisible \xC2\xAB " + input.Name() + " \xC2\xBB : " + SystemReason(input.Error()));
        return InputOutcome::kUnreadable;
    }
    static char s_buffer[1 << 20];
    Output& output = StandardOutput();
    bool bAnyByte = false;
    for (;;) {
        const long long nRead = input.Read(s_buffer, sizeof s_buffer);
        if (nRead < 0) {
            if (!bAnyByte)  // a folder, for one: nothing was read
                Say("fichier illisible \xC2\xAB " + input.Name() + " \xC2\xBB : " + SystemReason(input.Error()));
            else
                Say("lecture interrompue \xC2\xAB " + input.Name() + " \xC2\xBB apr\xC3\xA8s la ligne " +
                    std::to_string(reader.Lines()) + " : " + SystemReason(input.Error()));
            return InputOutcome::kUnreadable;
        }
        if (nRead == 0) break;
        bAnyByte = true;
        reader.Piece(s_buffer, static_cast<std::size_t>(nRead), output.Buffer());
        if (!(input.Interactive() ? output.Flush() : output.FlushIfFull())) return InputOutcome::kWriteFailed;
    }
    reader.End(output.Buffer());
    if (!(input.Interactive() ? output.Flush() : output.FlushIfFull())) return InputOutcome::kWriteFailed;
    return InputOutcome::kRead;
}

}  // namespace programs
