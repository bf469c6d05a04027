// How the command-line programs talk to the user and read their inputs, the
// same in all of them: messages on standard error starting with the program's
// name, standard output through one buffer, inputs read in blocks, the
// system's reasons in French, the exit statuses.
#ifndef PROGRAMS_PROGRAMSTREAMS_H
#define PROGRAMS_PROGRAMSTREAMS_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace programs {

// Exit statuses: everything done; at least one line without a result; a usage
// error, an input that cannot be read, a missing data file, or an output that
// cannot be written.
constexpr int kExitOk = 0;
constexpr int kExitLineFailed = 1;
constexpr int kExitUsage = 2;

// First thing in main: the name messages start with. On Windows standard
// input and output become binary: every byte of the input is data (no end of
// file at Ctrl-Z), line ends are written as the program makes them.
void StartProgram(const char* pszName);
const char* ProgramName();

// Standard output through one large buffer. Messages on standard error write
// it out first, so that a terminal shows both in their order.
class Output {
public:
    std::string& Buffer() { return m_strBuffer; }
    // Writes the buffer out when it is full; false once writing has failed.
    bool FlushIfFull() { return m_strBuffer.size() < kSize || Flush(); }
    // Writes the buffer out; false once writing has failed.
    bool Flush();

    static constexpr std::size_t kSize = 1 << 20;

private:
    std::string m_strBuffer;
    bool m_bFailed = false;
};
Output& StandardOutput();

// "programme : text" and a line feed on standard error. Texts are UTF-8; they
// are written in the terminal's encoding.
void Say(std::string_view textUtf8);
// Say, then where to find help; returns kExitUsage.
int UsageError(std::string_view textUtf8);
// The help or the version on standard output; kExitOk, or kExitUsage when it
// cannot be written.
int WriteHelp(std::string_view textUtf8);
// The final write of standard output: kExitOk, or kExitUsage after saying so.
int FinishOutput();

// A command-line argument (file name, option value) in UTF-8 for a message:
// on Windows it arrives in the ANSI code page.
std::string ArgumentText(std::string_view argument);

// The system's reason for an error number, in French where the system or this
// program knows it.
std::string SystemReason(int nError);

// The input named strName in messages (UTF-8): the file's name, or
// "(entrée standard)" for "-".
std::string InputName(const std::string& strName);

// One input: a file by its name, or standard input for "-".
class Input {
public:
    explicit Input(const std::string& strName);
    ~Input();
    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;

    bool IsOpen() const { return m_nFd >= 0; }
    // The input in messages (UTF-8): the file's name, or "(entrée standard)".
    const std::string& Name() const { return m_strName; }
    // A pipe or a terminal: each line is answered as it comes, not at the end.
    bool Interactive() const { return m_bInteractive; }
    // At most uSize bytes, as many as there are (a regular file fills the
    // buffer); 0 at the end, -1 on a read error.
    long long Read(char* pBuffer, std::size_t uSize);
    // The error number of the failed opening or reading.
    int Error() const { return m_nError; }

private:
    int m_nFd = -1;
    bool m_bOwned = false;
    bool m_bInteractive = false;
    int m_nError = 0;
    std::string m_strName;
};

// What reads the pieces of one input.
class PieceReader {
public:
    virtual void Piece(const char* pData, std::size_t uSize, std::string& strOut) = 0;
    // The end of the input.
    virtual void End(std::string& strOut) = 0;
    // Lines seen so far, for the message of a read that breaks off.
    virtual std::uint64_t Lines() const = 0;

protected:
    ~PieceReader() = default;
};

enum class InputOutcome { kRead, kUnreadable, kWriteFailed };

// Reads the input named strName ("-": standard input) to its end in blocks and
// hands them to reader, its output going to StandardOutput(); after each block
// of a pipe or a terminal the output is written out. An input that cannot be
// read is reported (nothing is written for it).
InputOutcome ReadInput(const std::string& strName, PieceReader& reader);

// The longest line the programs read: a longer one is a failed line, its
// bytes not kept, so that an input without line feeds (/dev/zero) cannot take
// all the memory.
constexpr std::size_t kMaxLineBytes = 1 << 20;
// The message of such a line (UTF-8).
constexpr char kszLineTooLong[] = "ligne trop longue (plus de 1 Mio, 1 048 576 octets), non lue";
// The UTF-8 byte-order mark that Excel and Notepad write at the start of a file.
constexpr char kszByteOrderMark[] = "\xEF\xBB\xBF";

// Cuts the pieces of an input into lines at LF: each line without its LF (a
// CR before it stays, for the caller to keep the line end as it came); a last
// line without LF is handed over at the end. A byte-order mark at the start of
// the input is not part of the first line: ByteOrderMark() says whether there
// was one, for the caller to write it back. onLine(line, bTooLong): for a line
// longer than kMaxLineBytes, bTooLong is true and line holds only its CR, if
// it ended in CR LF.
class LineCutter {
public:
    template <class OnLine>
    void Feed(const char* pData, std::size_t uSize, OnLine&& onLine) {
        if (!m_bStartKnown) {
            // The first three bytes decide, whatever pieces they come in.
            const std::size_t uTake = std::min(uSize, kBomSize - m_strStart.size());
            m_strStart.append(pData, uTake);
            pData += uTake;
            uSize -= uTake;
            if (m_strStart.size() < kBomSize) return;
            DecideStart(onLine);
        }
        Cut(pData, uSize, onLine);
    }
    template <class OnLine>
    void Finish(OnLine&& onLine) {
        if (!m_bStartKnown) DecideStart(onLine);
        if (m_bTooLong) {
            onLine(std::string_view(), true);
            m_bTooLong = false;
        } else if (!m_strStart.empty()) {
            onLine(std::string_view(m_strStart), false);
        }
        m_strStart.clear();
    }
    bool ByteOrderMark() const { return m_bByteOrderMark; }

private:
    static constexpr std::size_t kBomSize = sizeof kszByteOrderMark - 1;

    template <class OnLine>
    void DecideStart(OnLine&& onLine) {
        m_bStartKnown = true;
        std::string strFirst;
        strFirst.swap(m_strStart);
        m_bByteOrderMark = strFirst.compare(0, kBomSize, kszByteOrderMark) == 0;
        if (m_bByteOrderMark) strFirst.erase(0, kBomSize);
        Cut(strFirst.data(), strFirst.size(), onLine);
    }

    template <class OnLine>
    void Cut(const char* pData, std::size_t uSize, OnLine&& onLine) {
        const char* p = pData;
        const char* pEnd = pData + uSize;
        while (p != pEnd) {
            const char* pFeed = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(pEnd - p)));
            const std::size_t uPart = static_cast<std::size_t>((pFeed == nullptr ? pEnd : pFeed) - p);
            if (!m_bTooLong && m_strStart.size() + uPart > kMaxLineBytes) {
                m_bTooLong = true;
                m_strStart.clear();
                m_strStart.shrink_to_fit();
            }
            if (m_bTooLong) {
                // Only the last byte is kept: a CR before the LF.
                if (uPart > 0) m_cLast = p[uPart - 1];
                if (pFeed == nullptr) return;
                onLine(m_cLast == '\r' ? std::string_view("\r") : std::string_view(), true);
                m_bTooLong = false;
                m_cLast = 0;
            } else if (pFeed == nullptr) {
                m_strStart.append(p, uPart);
                return;
            } else if (m_strStart.empty()) {
                onLine(std::string_view(p, uPart), false);
            } else {
                m_strStart.append(p, uPart);
                onLine(std::string_view(m_strStart), false);
                m_strStart.clear();
            }
            p = pFeed + 1;
        }
    }

    std::string m_strStart;  // the start of a line cut by the end of a piece
    bool m_bStartKnown = false;
    bool m_bByteOrderMark = false;
    bool m_bTooLong = false;  // the line being read is past kMaxLineBytes
    char m_cLast = 0;         // its last byte so far
};

}  // namespace programs

#endif
