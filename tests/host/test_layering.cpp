// How the sources stand on each other. The host's side (host/, the library
// replhost) stands below the replication manager: none of its files includes
// a header of the system's folders or of the tests, and none defines a member
// of the system's classes or a member of a host class that the system
// defines itself. Those members the system defines in one file of service/.
// service/ stands below the subsystems: it includes none of their headers
// but the bind list's and the member lists of the one class.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path repoRoot()
{
    std::string self = __FILE__;
    return fs::path(self.substr(0, self.rfind("tests/host/")));
}

// The file that holds the members of host classes the system defines.
const char* const kHostClassMembersFile = "service/HostClassMembers.cpp";

// The system's folders, as the build lists them (REPLMGR_DIRS).
std::vector<std::string> systemFolders()
{
    std::ifstream in(repoRoot() / "CMakeLists.txt");
    std::stringstream text;
    text << in.rdbuf();
    const std::string cmake = text.str();
    std::smatch m;
    std::vector<std::string> folders;
    if (!std::regex_search(cmake, m, std::regex(R"(set\(REPLMGR_DIRS([^)]*)\))"))) return folders;
    std::istringstream names(m[1].str());
    for (std::string name; names >> name;) folders.push_back(name);
    return folders;
}

bool isSource(const fs::path& path)
{
    const std::string ext = path.extension().string();
    return ext == ".h" || ext == ".cpp" || ext == ".inl" || ext == ".inc";
}

// The sources under a folder of the repository, as paths relative to its root.
std::vector<std::string> sourcesUnder(const std::string& folder)
{
    const fs::path root = repoRoot();
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root / folder))
        if (entry.is_regular_file() && isSource(entry.path()))
            files.push_back(fs::relative(entry.path(), root).generic_string());
    return files;
}

std::vector<std::string> linesOf(const std::string& file)
{
    std::ifstream in(repoRoot() / file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

struct Include {
    int line;
    bool quoted;         // "..." rather than <...>
    std::string target;  // as written
    std::string text;    // the whole line
};

std::vector<Include> includesOf(const std::string& file)
{
    static const std::regex include(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<Include> found;
    const std::vector<std::string> lines = linesOf(file);
    for (size_t i = 0; i < lines.size(); ++i) {
        std::smatch m;
        if (lines[i].find('#') != std::string::npos && std::regex_search(lines[i], m, include))
            found.push_back(Include{static_cast<int>(i + 1), m[1].str() == "\"", m[2].str(), lines[i]});
    }
    return found;
}

std::string topFolder(const std::string& target) { return target.substr(0, target.find('/')); }

// The classes and structs the headers of the folders define with a body.
std::set<std::string> classesDefinedIn(const std::vector<std::string>& folders)
{
    static const std::regex head(R"(^\s*(?:class|struct)\s+(\w+)\s*(?:final\s*)?(?::[^;{]*)?\{?\s*$)");
    std::set<std::string> classes;
    for (const std::string& folder : folders)
        for (const std::string& file : sourcesUnder(folder)) {
            if (fs::path(file).extension() == ".cpp") continue;
            for (const std::string& line : linesOf(file)) {
                if (line.find("class") == std::string::npos && line.find("struct") == std::string::npos) continue;
                std::smatch m;
                if (std::regex_search(line, m, head)) classes.insert(m[1].str());
            }
        }
    return classes;
}

// A parameter list with names, defaults and spaces taken out:
// "(const char* section, unsigned long)" gives "(const char*,unsigned long)".
std::string parameterTypes(const std::string& list)
{
    static const std::set<std::string> typeWords = {"int", "long", "short", "char", "unsigned", "signed",
                                                    "bool", "double", "float", "void", "const"};
    std::string inner = list.substr(1, list.size() - 2);
    std::vector<std::string> params;
    std::string current;
    int depth = 0;
    for (char c : inner) {
        if (c == '<' || c == '(') ++depth;
        if (c == '>' || c == ')') --depth;
        if (c == ',' && depth == 0) {
            params.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (current.find_first_not_of(" \t") != std::string::npos) params.push_back(current);
    std::string out = "(";
    static const std::regex defaultValue(R"(=.*$)");
    static const std::regex pointerOrReference(R"(([*&]))");
    static const std::regex identifier(R"([A-Za-z_]\w*)");
    for (size_t i = 0; i < params.size(); ++i) {
        std::string p = std::regex_replace(params[i], defaultValue, "");
        p = std::regex_replace(p, pointerOrReference, " $1 ");
        std::istringstream words(p);
        std::vector<std::string> tokens;
        for (std::string w; words >> w;) tokens.push_back(w);
        const bool named = tokens.size() >= 2 && std::regex_match(tokens.back(), identifier) &&
                           typeWords.count(tokens.back()) == 0;
        if (named) tokens.pop_back();
        std::string type;
        for (const std::string& t : tokens) {
            const bool glue = t == "*" || t == "&" || type.empty() || type.back() == '*' || type.back() == '&';
            type += (glue ? "" : " ") + t;
        }
        out += (i ? "," : "") + type;
    }
    return out + ")";
}

// A member defined in a source: "Class::member(parameter types)" with the
// class's template arguments left out, and where it stands.
struct MemberDefinition {
    std::string cls;
    std::string signature;
    std::string where;
};

// The member functions a source defines outside their class: a line that
// starts at the left margin and names Class::member( , up to the list's end.
std::vector<MemberDefinition> memberDefinitionsOf(const std::string& file)
{
    static const std::regex qualified(R"(\b(\w+)(?:<[^<>]*>)?::(~?\w+|operator\s*[^\s(]+)\s*\()");
    const std::vector<std::string> lines = linesOf(file);
    std::vector<MemberDefinition> found;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty() || std::isspace(static_cast<unsigned char>(line[0])) || line[0] == '#' || line[0] == '/')
            continue;
        std::smatch m;
        if (line.find("::") == std::string::npos || !std::regex_search(line, m, qualified)) continue;
        // The parameter list, over the following lines where it goes on.
        std::string rest = line.substr(m.position(0) + m.length(0) - 1);
        for (size_t j = i + 1; rest.find(')') == std::string::npos && j < lines.size(); ++j) rest += " " + lines[j];
        int depth = 0;
        size_t end = 0;
        for (; end < rest.size(); ++end) {
            if (rest[end] == '(') ++depth;
            if (rest[end] == ')' && --depth == 0) break;
        }
        if (end == rest.size()) continue;
        const std::string after = rest.substr(end + 1);
        const size_t next = after.find_first_not_of(" \t");
        if (next != std::string::npos && after[next] == ';') continue;  // a declaration or an instantiation
        const std::string cls = m[1].str();
        found.push_back(MemberDefinition{cls, cls + "::" + m[2].str() + parameterTypes(rest.substr(0, end + 1)),
                                         file + ":" + std::to_string(i + 1) + ": " + line});
    }
    return found;
}

// The members of host classes that the system defines itself.
const std::set<std::string> kHostMembersOfTheSystem = {
    "ZXPlatformInfo::getNumber(const char*,const char*,unsigned int*)",
    "EvEvent::operator<<(const char*)",
    "EvEvent::operator<<(int)",
    "ZxSessionSend::sendMessage(unsigned long,unsigned long,zxsDatabuf*)",
    "CAutoMemory::Release()",
    "CWuError::IsError()",
};

}  // namespace

TEST(HostLayering, HostLibraryIncludesOnlyHostHeaders)
{
    const fs::path root = repoRoot();
    std::set<std::string> otherFolders;
    for (const auto& entry : fs::directory_iterator(root))
        if (entry.is_directory() && entry.path().filename() != "host") otherFolders.insert(entry.path().filename().string());
    ASSERT_TRUE(otherFolders.count("service") && otherFolders.count("rows"));

    const std::vector<std::string> files = sourcesUnder("host");
    EXPECT_GT(files.size(), 20u);
    for (const std::string& file : files)
        for (const Include& inc : includesOf(file)) {
            const bool ours = inc.quoted ? inc.target.compare(0, 5, "host/") == 0
                                         : otherFolders.count(topFolder(inc.target)) == 0;
            if (!ours) ADD_FAILURE() << file << ":" << inc.line << ": " << inc.text;
        }
}

// Neither a member of a class of the system's folders nor one of the members
// of host classes that the system defines.
TEST(HostLayering, HostLibraryDefinesNoMemberOfTheSystem)
{
    const std::vector<std::string> folders = systemFolders();
    ASSERT_TRUE(std::count(folders.begin(), folders.end(), "service") &&
                std::count(folders.begin(), folders.end(), "rows"));
    const std::set<std::string> systemClasses = classesDefinedIn(folders);
    ASSERT_TRUE(systemClasses.count("ReplicationMgr") && systemClasses.count("CaseRegistry"));

    bool hostGetNumber = false;
    for (const std::string& file : sourcesUnder("host"))
        for (const MemberDefinition& def : memberDefinitionsOf(file)) {
            if (systemClasses.count(def.cls))
                ADD_FAILURE() << "a member of the system's class " << def.cls << ": " << def.where;
            if (kHostMembersOfTheSystem.count(def.signature))
                ADD_FAILURE() << "a member the system defines, " << def.signature << ": " << def.where;
            if (def.signature == "ZXPlatformInfo::getNumber(const char*,const char*,unsigned long*)") hostGetNumber = true;
        }
    // The host's own getNumber is found and told from the system's by its parameters.
    EXPECT_TRUE(hostGetNumber);
}

// The system defines the members of host classes that are its own in one
// file, and no other member of a host class anywhere.
TEST(HostLayering, HostClassMembersOfTheSystemStandInOneFile)
{
    const std::set<std::string> hostClasses = classesDefinedIn({"host"});
    ASSERT_TRUE(hostClasses.count("EvEvent") && hostClasses.count("CWuError"));

    std::set<std::string> inTheFile;
    for (const std::string& folder : systemFolders())
        for (const std::string& file : sourcesUnder(folder))
            for (const MemberDefinition& def : memberDefinitionsOf(file)) {
                if (hostClasses.count(def.cls) == 0) continue;
                if (file == kHostClassMembersFile)
                    inTheFile.insert(def.signature);
                else
                    ADD_FAILURE() << "a member of the host class " << def.cls << " outside " << kHostClassMembersFile
                                  << ": " << def.where;
            }
    EXPECT_EQ(inTheFile, kHostMembersOfTheSystem);
}

// service/ includes headers of service/ and host/ only, but for the bind
// list, which names each subsystem's Bind…Cases header, and the one class,
// which includes each subsystem's list of its members.
TEST(ServiceLayering, ServiceIncludesNoSubsystemFolder)
{
    const fs::path root = repoRoot();
    std::set<std::string> otherFolders;
    for (const auto& entry : fs::directory_iterator(root))
        if (entry.is_directory()) otherFolders.insert(entry.path().filename().string());
    otherFolders.erase("service");
    otherFolders.erase("host");
    ASSERT_TRUE(otherFolders.count("snr") && otherFolders.count("tests"));

    const std::regex casesHeader(R"(\w+/\w+Cases\.h)");
    const std::regex memberList(R"(\w+/\w+Members\.inc)");
    const std::vector<std::string> files = sourcesUnder("service");
    EXPECT_GT(files.size(), 10u);
    size_t memberLists = 0;
    for (const std::string& file : files)
        for (const Include& inc : includesOf(file)) {
            if (otherFolders.count(topFolder(inc.target)) == 0) continue;
            if (file == "service/ReplicationMgr.h" && inc.quoted && std::regex_match(inc.target, memberList)) {
                ++memberLists;
                continue;
            }
            if ((file == "service/ServedCases.cpp" || file == "service/ServedCases.h") && inc.quoted &&
                std::regex_match(inc.target, casesHeader))
                continue;
            ADD_FAILURE() << file << ":" << inc.line << ": " << inc.text;
        }
    EXPECT_GT(memberLists, 0u);  // the class's member lists were read
}
