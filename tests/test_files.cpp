#include "core/json.h"
#include "core/utf8.h"
#include "core/wholefile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <ctime>
#include <dlfcn.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// close(2) failing on demand, as it may on a network file system, where the write's last
// error is reported only then: the next `closesToFail` calls of this process fail with EIO
// (having closed the descriptor).
int closesToFail = 0;

} // namespace

extern "C" int close(int fd) {
    static const auto real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "close"));
    const int status = real(fd);
    if (closesToFail > 0 && status == 0) {
        --closesToFail;
        errno = EIO;
        return -1;
    }
    return status;
}

namespace {

std::string contents(const std::string& path) {
    std::ifstream file(path);
    return {std::istreambuf_iterator<char>(file), {}};
}

// A fresh folder for each test, open to every user (a test may drop to nobody's rights).
class WholeFiles : public testing::Test {
  protected:
    void SetUp() override {
        char name[] = "/tmp/slope-files-XXXXXX";
        ASSERT_NE(::mkdtemp(name), nullptr);
        folder = name;
        ::chmod(name, 0777);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string at(const std::string& name) const { return folder + "/" + name; }
    std::string folder;
};

// `body` run with the rights of nobody (uid 65534) when the tests run as root, so that what
// the system refuses an ordinary user is refused; its exit status.
int asOrdinaryUser(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(99);
        }
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WEXITSTATUS(status);
}

TEST_F(WholeFiles, ALinkStaysALinkAndANewFileIsMadeWhereADanglingOnePoints) {
    std::ofstream(at("real")) << "old";
    ASSERT_EQ(::symlink("real", at("link").c_str()), 0);
    ASSERT_EQ(::symlink("new", at("dangling").c_str()), 0);
    EXPECT_FALSE(writeWholeFile(at("link"), "one"));
    EXPECT_FALSE(writeWholeFile(at("dangling"), "two"));
    struct stat status {};
    EXPECT_TRUE(::lstat(at("link").c_str(), &status) == 0 && S_ISLNK(status.st_mode));
    EXPECT_TRUE(::lstat(at("dangling").c_str(), &status) == 0 && S_ISLNK(status.st_mode));
    EXPECT_EQ(contents(at("real")) + contents(at("new")), "onetwo");
    // 40 links in a row are followed, as open(2) follows them
    for (int i = 1; i <= 40; ++i) {
        ASSERT_EQ(::symlink(i == 40 ? "real" : ("chain" + std::to_string(i + 1)).c_str(),
                            at("chain" + std::to_string(i)).c_str()),
                  0);
    }
    EXPECT_FALSE(writeWholeFile(at("chain1"), "four"));
    EXPECT_EQ(contents(at("real")), "four");
    ASSERT_EQ(::symlink("chain1", at("chain0").c_str()), 0); // one more is a loop to open(2)
    EXPECT_EQ(writeWholeFile(at("chain0"), "five").value_or(FileError{}).code, ELOOP);
    // a name of 255 bytes, the most a name can have, leaves no room beside it for ".XXXXXX"
    const std::string longest = at(std::string(250, 'a') + ".html");
    EXPECT_FALSE(writeWholeFile(longest, "three"));
    EXPECT_EQ(contents(longest), "three");
    // a NUL byte ends the name the system sees: the link's target would take what "real\0x" gets
    const std::string withNul = at("link") + std::string(1, '\0') + "x";
    EXPECT_EQ(writeWholeFile(withNul, "six").value_or(FileError{}).code, EINVAL);
    std::string read;
    EXPECT_EQ(readWholeFile(withNul, read, true).value_or(FileError{}).code, EINVAL);
    EXPECT_EQ(contents(at("real")), "four");
}

// A close that fails loses the write: reported, and the old file stays as it was.
TEST_F(WholeFiles, AFailedCloseIsAFailedWrite) {
    std::ofstream(at("kept")) << "old";
    for (const std::string& path : {at("kept"), std::string("/dev/null")}) {
        closesToFail = 1;
        const auto error = writeWholeFile(path, "new");
        closesToFail = 0;
        EXPECT_EQ(error.value_or(FileError{}).code, EIO) << path;
    }
    EXPECT_EQ(contents(at("kept")), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              1); // no temporary file left
}

TEST_F(WholeFiles, ADescriptorsNameWritesThroughItAndAPipeIsNotReplaced) {
    // as `slopecalc --report /dev/stdout >> log`: what the log held stays, the report follows it
    std::ofstream(at("log")) << "OLD\n";
    const int fd = ::open(at("log").c_str(), O_WRONLY | O_APPEND);
    ASSERT_EQ(::dup2(fd, 42), 42); // a number of two digits
    for (const std::string name : {"/dev/fd/", "/proc/self/fd/"}) {
        EXPECT_FALSE(writeWholeFile(name + "42", name));
    }
    ::close(42);
    ::close(fd);
    EXPECT_EQ(contents(at("log")), "OLD\n/dev/fd//proc/self/fd/");
    // a descriptor not open (also with nothing to write), or open for reading only (a pipe's
    // end), is refused as write(2) refuses it
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    for (const auto& [fd, content] : {std::pair{42, ""}, {ends[0], "x"}}) {
        errno = 0;
        const auto refused = writeWholeFile("/dev/fd/" + std::to_string(fd), content);
        EXPECT_EQ(refused.value_or(FileError{}).code, EBADF) << fd << content;
    }
    ::close(ends[0]);
    ::close(ends[1]);
    ASSERT_EQ(::mkfifo(at("fifo").c_str(), 0666), 0);
    const auto error = writeWholeFile(at("fifo"), "x"); // nobody reads it: refused at once
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, ENXIO);
    struct stat status {};
    EXPECT_TRUE(::stat(at("fifo").c_str(), &status) == 0 && S_ISFIFO(status.st_mode));
}

TEST_F(WholeFiles, WhatTheShellWouldRefuseIsRefusedAndTheFolderIsNamed) {
    std::ofstream(at("read-only")) << "kept";
    ::chmod(at("read-only").c_str(), 0444);
    ::mkdir(at("closed").c_str(), 0555);
    const std::string closed = at("closed");
    EXPECT_EQ(asOrdinaryUser([&] {
                  const auto readOnly = writeWholeFile(at("read-only"), "new");
                  const auto inClosed = writeWholeFile(closed + "/x", "new");
                  return readOnly && readOnly->code == EACCES && readOnly->folder.empty() &&
                                 inClosed && inClosed->folder == closed &&
                                 inClosed->text() ==
                                     "cannot create a file in " + closed + ": Permission denied"
                             ? 0
                             : 1;
              }),
              0);
    EXPECT_EQ(contents(at("read-only")), "kept");
}

TEST_F(WholeFiles, AnotherUsersFileStaysTheirs) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root may write another user's file";
    }
    std::ofstream(at("theirs")) << "old";
    ASSERT_EQ(::chown(at("theirs").c_str(), 65534, 65534), 0);
    ::chmod(at("theirs").c_str(), 0640);
    EXPECT_FALSE(writeWholeFile(at("theirs"), "new"));
    struct stat status {};
    ::stat(at("theirs").c_str(), &status);
    EXPECT_EQ(status.st_uid + status.st_gid, 2u * 65534);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_EQ(contents(at("theirs")), "new");
}

TEST_F(WholeFiles, OnlyARegularFileOfAtMostAMebibyteIsReadWhole) {
    ASSERT_EQ(::mkfifo(at("fifo").c_str(), 0666), 0);
    std::ofstream(at("largest")) << std::string(kLargestReadFile, '1');
    std::ofstream(at("larger")) << std::string(kLargestReadFile + 1, '1');
    struct Case {
        std::string path;
        bool regularOnly;
        std::optional<FileError::Kind> refused;
    };
    for (const Case& c : {Case{at("fifo"), true, FileError::Kind::NotRegular}, // never waited on
                          Case{"/dev/zero", true, FileError::Kind::NotRegular},
                          Case{"/dev/zero", false, FileError::Kind::TooLarge},
                          Case{at("larger"), true, FileError::Kind::TooLarge},
                          Case{at("largest"), true, std::nullopt}}) {
        std::string content;
        const auto error = readWholeFile(c.path, content, c.regularOnly);
        EXPECT_EQ(error ? std::optional(error->kind) : std::nullopt, c.refused) << c.path;
        EXPECT_EQ(content.size(), c.refused ? 0 : kLargestReadFile) << c.path;
    }
}

TEST(Utf8, TakesEveryCharacterAndNoOtherSequence) {
    for (const std::string valid : {"a", "é", "嵌", "\xF0\x9F\x98\x80", "\xEF\xBF\xBF",
                                    "\xF4\x8F\xBF\xBF", "\xE0\xA0\x80", "\xF0\x90\x80\x80"}) {
        EXPECT_TRUE(utf8::valid(valid)) << valid;
    }
    // each character in its shortest form, at the edges of the lengths
    const std::pair<unsigned, std::string> encoded[] = {
        {0x7F, "\x7F"},          {0x80, "\xC2\x80"},       {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"}, {0xFFFF, "\xEF\xBF\xBF"}, {0x10000, "\xF0\x90\x80\x80"}};
    for (const auto& [code, bytes] : encoded) {
        std::string out;
        utf8::append(out, code);
        EXPECT_EQ(out, bytes) << code;
    }
    // overlong forms, surrogates, beyond U+10FFFF, cut short, a continuation alone
    for (const std::string invalid :
         {"\xC0\xAF", "\xE0\x80\xAF", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF", "\xED\xA0\x80",
          "\xF4\x90\x80\x80", "\xE5\xB5", "\x80", "\xF5\x80\x80\x80"}) {
        EXPECT_FALSE(utf8::valid("x" + invalid)) << invalid;
        EXPECT_EQ(utf8::firstInvalid("x" + invalid), 1u) << invalid;
    }
    // a sequence cut short by the end of the view, whatever bytes follow it in memory
    EXPECT_EQ(utf8::sequenceLength(std::string_view("\xE4\xB8\xAD").substr(0, 2)), 0u);
}

TEST(Json, RefusesAKeyGivenTwiceInLinearTime) {
    // Checked pair by pair, as once, 200,000 keys took minutes. Eight times the keys take about
    // eight times as long, never the sixty-four times of a quadratic check (a ratio, which holds
    // under the sanitizers too). Few enough keys that the text and the table stay in the cache:
    // beyond, each probe's miss makes even the linear check look worse (a ratio of 25 from
    // 25,000 to 200,000 keys on a busy machine).
    const auto refusalTime = [](int keys) {
        std::string text = "{";
        for (int i = 0; i < keys; ++i) {
            text += "\"k" + std::to_string(i) + "\": " + std::to_string(i) + ",\n";
        }
        const std::string last = "k" + std::to_string(keys - 1);
        EXPECT_EQ(json::parse(text + "\"last\": true}").root().members().size(), keys + 1u);
        const std::string twice = text + "\"" + last + "\": 0}";
        // the thread's own time, the least of three: what other work takes of the machine
        // counts not
        const auto now = [] {
            timespec t{};
            clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
            return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
        };
        double best = 1e300;
        for (int round = 0; round < 3; ++round) {
            const double start = now();
            try {
                json::parse(twice);
                ADD_FAILURE() << "read";
            } catch (const json::Error& e) {
                EXPECT_EQ(e.line(), keys + 1);
                EXPECT_EQ(e.what(), "the key \"" + last + "\" is given twice");
            }
            best = std::min(best, now() - start);
        }
        return best;
    };
    const double small = refusalTime(5000);
    EXPECT_LT(refusalTime(40000), 24 * small);
    // the first key given again after a hundred others, its table grown on the way
    std::string hundred = "{\"first\": 0";
    for (int i = 0; i < 100; ++i) {
        hundred += ", \"k" + std::to_string(i) + "\": 0";
    }
    EXPECT_THROW(json::parse(hundred + ", \"first\": 1}"), json::Error);
}

TEST(Json, ReadsWhatItWritesAndEveryValueInItsPlace) {
    const std::string tricky = "\"\\\n\t\x01 é 嵌固 \xF0\x9F\x98\x80";
    const json::Document document =
        json::parse("[null, true, false, -0.59e+39, 2E5, {\"a\": [], \"b\": {}},\n " +
                    json::quoted(tricky) + "]");
    std::string seen; // type, line, text, truth
    std::optional<json::Value> object;
    for (const json::Member m : document.root().items()) {
        seen += std::to_string(static_cast<int>(m.value.type())) + std::to_string(m.value.line()) +
                std::string(m.value.text()) + (m.value.boolean() ? "!" : "") + ' ';
        if (m.value.type() == json::Value::Type::Object) {
            object = m.value;
        }
    }
    EXPECT_EQ(seen, "01 11! 11 21-0.59e+39 212E5 51 32" + tricky + " ");
    ASSERT_TRUE(object);
    EXPECT_EQ(object->member("b")->type(), json::Value::Type::Object);
    EXPECT_EQ(object->member("a")->items().size(), 0u);
    EXPECT_EQ(document.root().members().size(), 0u); // an array has items, no members
    EXPECT_FALSE(object->member("c"));
    // the escapes JSON has, a surrogate pair among them
    EXPECT_EQ(json::parse(R"("\u00e9\u5D4C\ud83d\ude00\/\b\f\r")").root().text(),
              "é嵌\xF0\x9F\x98\x80/\b\f\r");
    for (const char* bad :
         {"01", "-01", "1.", "1e", "1e+", "\"\\ud83d\"", "\"\\ude00\"", "\"\\udc00\\udc00\"",
          "\"\\u12G4\"", "\"\xC0\xAF\"", "[1,]", "{\"a\" 1}", "\"\\x\"", "\"\\ud83d\\ue000\""}) {
        EXPECT_THROW(json::parse(bad), json::Error) << bad;
    }
    try { // four hex digits, then the end: the string is not closed
        json::parse("\"\\u00e9");
        ADD_FAILURE();
    } catch (const json::Error& e) {
        EXPECT_NE(std::string(e.what()).find("ends inside a string"), std::string::npos)
            << e.what();
    }
    // values nest 65 deep at the most: the top one and 64 within it
    EXPECT_NO_THROW(json::parse(std::string(65, '[') + std::string(65, ']')));
    EXPECT_THROW(json::parse(std::string(66, '[') + std::string(66, ']')), json::Error);
}

} // namespace
