#include "lance.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace fs = std::filesystem;

namespace {

fs::path DossierDuProgramme() {
#ifdef _WIN32
    wchar_t chemin[MAX_PATH];
    GetModuleFileNameW(nullptr, chemin, MAX_PATH);
    return fs::path(chemin).parent_path();
#else
    return fs::read_symlink("/proc/self/exe").parent_path();
#endif
}

std::string Lit(const fs::path& chemin) {
    std::ifstream f(chemin, std::ios::binary);
    std::ostringstream contenu;
    contenu << f.rdbuf();
    return contenu.str();
}

#ifndef _WIN32
// The program's path, then the words of its command line (argv for posix_spawn: pointers into them).
std::vector<std::string> Commande(const std::vector<std::string>& arguments) {
    std::vector<std::string> mots;
#ifdef PROGRAM_LAUNCHER
    mots.push_back(PROGRAM_LAUNCHER);
#endif
    mots.push_back((DossierDuProgramme() / "geokern-conv").string());
    mots.insert(mots.end(), arguments.begin(), arguments.end());
    return mots;
}
std::vector<char*> Argv(std::vector<std::string>& mots) {
    std::vector<char*> argv;
    for (std::string& m : mots) argv.push_back(m.data());
    argv.push_back(nullptr);
    return argv;
}
#endif

}  // namespace

std::string DossierDeTravail() {
#ifdef _WIN32
    const unsigned long processus = GetCurrentProcessId();
#else
    const unsigned long processus = static_cast<unsigned long>(getpid());
#endif
    const fs::path dossier = fs::temp_directory_path() / ("geokern_conv_test_" + std::to_string(processus));
    fs::create_directories(dossier);
    return dossier.string();
}

std::string EcritFichier(const std::string& nom, const std::string& contenu) {
    const fs::path chemin = fs::path(DossierDeTravail()) / nom;
    std::ofstream(chemin, std::ios::binary) << contenu;
    return chemin.string();
}

Execution LanceConv(const std::vector<std::string>& arguments, const std::string& entree) {
    const std::string fichier_entree = EcritFichier("stdin.txt", entree);
    const fs::path fichier_sortie = fs::path(DossierDeTravail()) / "stdout.txt";
    const fs::path fichier_erreurs = fs::path(DossierDeTravail()) / "stderr.txt";
    Execution execution{};
#ifdef _WIN32
    const fs::path programme = DossierDuProgramme() / "geokern-conv.exe";
    std::wstring ligne = L"\"" + programme.wstring() + L"\"";
    for (const std::string& a : arguments) ligne += L" \"" + fs::path(a).wstring() + L"\"";
    SECURITY_ATTRIBUTES heritable = {sizeof heritable, nullptr, TRUE};
    auto ouvre = [&](const fs::path& p, bool lecture) {
        return CreateFileW(p.wstring().c_str(), lecture ? GENERIC_READ : GENERIC_WRITE, FILE_SHARE_READ, &heritable,
                           lecture ? OPEN_EXISTING : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    STARTUPINFOW demarrage = {};
    demarrage.cb = sizeof demarrage;
    demarrage.dwFlags = STARTF_USESTDHANDLES;
    demarrage.hStdInput = ouvre(fichier_entree, true);
    demarrage.hStdOutput = ouvre(fichier_sortie, false);
    demarrage.hStdError = ouvre(fichier_erreurs, false);
    PROCESS_INFORMATION processus = {};
    if (!CreateProcessW(nullptr, ligne.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &demarrage, &processus))
        throw std::runtime_error("CreateProcess geokern-conv.exe");
    WaitForSingleObject(processus.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(processus.hProcess, &code);
    execution.statut = static_cast<int>(code);
    CloseHandle(processus.hProcess);
    CloseHandle(processus.hThread);
    CloseHandle(demarrage.hStdInput);
    CloseHandle(demarrage.hStdOutput);
    CloseHandle(demarrage.hStdError);
#else
    std::vector<std::string> mots = Commande(arguments);
    std::vector<char*> argv = Argv(mots);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, fichier_entree.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, fichier_sortie.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, fichier_erreurs.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        throw std::runtime_error("posix_spawn " + mots[0]);
    posix_spawn_file_actions_destroy(&actions);
    int etat = 0;
    waitpid(pid, &etat, 0);
    execution.statut = WIFEXITED(etat) ? WEXITSTATUS(etat) : 128 + WTERMSIG(etat);
#endif
    execution.sortie = Lit(fichier_sortie);
    execution.erreurs = Lit(fichier_erreurs);
    return execution;
}

#ifndef _WIN32
std::vector<std::string> DialogueConv(const std::vector<std::string>& arguments, const std::vector<std::string>& lignes) {
    int entree[2], sortie[2];
    if (pipe(entree) != 0 || pipe(sortie) != 0) throw std::runtime_error("pipe");
    std::vector<std::string> mots = Commande(arguments);
    std::vector<char*> argv = Argv(mots);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, entree[0], 0);
    posix_spawn_file_actions_adddup2(&actions, sortie[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    for (const int fd : {entree[0], entree[1], sortie[0], sortie[1]}) posix_spawn_file_actions_addclose(&actions, fd);
    pid_t pid;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        throw std::runtime_error("posix_spawn " + mots[0]);
    posix_spawn_file_actions_destroy(&actions);
    close(entree[0]);
    close(sortie[1]);
    std::vector<std::string> reponses;
    for (const std::string& ligne : lignes) {
        const std::string texte = ligne + "\n";
        if (write(entree[1], texte.data(), texte.size()) != static_cast<ssize_t>(texte.size())) break;
        std::string reponse;
        pollfd attente = {sortie[0], POLLIN, 0};
        char c = 0;
        while (poll(&attente, 1, 30000) == 1 && read(sortie[0], &c, 1) == 1 && c != '\n') reponse += c;
        if (c != '\n') break;  // not answered
        reponses.push_back(reponse);
    }
    close(entree[1]);
    close(sortie[0]);
    waitpid(pid, nullptr, 0);
    return reponses;
}
#endif
