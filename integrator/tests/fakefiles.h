#pragma once
// An in-memory file system and a recording observer for copy run tests: files by
// Windows-form path, failures on demand, and a log of every write in order.
#include "integrator/copyrun.h"

#include "platform/codec.h"
#include "platform/files.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace integrator::testing {

class FakeFiles final : public CopyRunFiles {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> folders;
    std::set<std::string> unwritable;      // targets whose write or copy fails
    std::set<std::string> uncreatableFolders;
    std::vector<std::string> log;          // "folder X", "copy S > T", "write T", "stub T"

    platform::LineText readLines(const std::string &path) override
    {
        return platform::splitLines(bytesOf(path));
    }
    void writeLines(const std::string &path, const platform::LineText &text) override
    {
        failIfUnwritable(path);
        files[path] = platform::joinLines(text);
        log.push_back("write " + path);
    }
    bool forceDirectories(const std::string &folder) override
    {
        if (uncreatableFolders.count(folder))
            return false;
        folders.insert(folder);
        log.push_back("folder " + folder);
        return true;
    }
    void copyFile(const std::string &source, const std::string &target) override
    {
        const std::string bytes = bytesOf(source);
        failIfUnwritable(target);
        files[target] = bytes;
        log.push_back("copy " + source + " > " + target);
    }
    std::unique_ptr<StubWriter> openStubSource(const std::string &source, const std::string &targetFolder) override
    {
        return std::make_unique<Writer>(*this, bytesOf(source), targetFolder);
    }
    std::string shownPath(const std::string &path) override { return platform::win1255ToUtf8(path); }

private:
    class Writer final : public StubWriter {
    public:
        Writer(FakeFiles &files, std::string bytes, std::string folder)
            : m_files(files), m_bytes(std::move(bytes)), m_folder(std::move(folder)) {}
        void writeStub(const std::string &relativePath) override
        {
            const std::string path = m_folder + relativePath;
            m_files.failIfUnwritable(path);
            m_files.files[path] = m_bytes;
            m_files.log.push_back("stub " + path);
        }

    private:
        FakeFiles &m_files;
        std::string m_bytes;
        std::string m_folder;
    };

    std::string bytesOf(const std::string &path) const
    {
        const auto found = files.find(path);
        if (found == files.end())
            throw platform::FileError("missing: " + path);
        return found->second;
    }
    void failIfUnwritable(const std::string &path) const
    {
        if (unwritable.count(path))
            throw platform::FileError("cannot write: " + path);
    }
};

class RecordingObserver final : public CopyRunObserver {
public:
    std::vector<std::string> messages;
    std::vector<std::size_t> starts;
    std::vector<std::string> shownNames;
    std::vector<std::size_t> writtenCounts;

    void showMessage(const std::string &text) override { messages.push_back(text); }
    void stubsStarting(std::size_t count) override { starts.push_back(count); }
    void stubWritten(std::string_view shownName, std::size_t written, std::size_t count) override
    {
        shownNames.emplace_back(shownName);
        writtenCounts.push_back(written);
        lastCount = count;
    }
    std::size_t lastCount = 0;
};

} // namespace integrator::testing
