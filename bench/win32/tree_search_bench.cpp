// Times the program's tree search against SearchTreeForFile of the image help library on
// the same generated tree, each walking the whole tree for a name that is not there.
//
//   tree_search_bench [FOLDERS [FILES-PER-FOLDER]]   (default: 5000 folders, 20 files each)
//   tree_search_bench ROOT                            (our walk alone, on an existing tree)
//   tree_search_bench ROOT imagehlp                   (both, on an existing tree)
//
// The tree is made below the temporary folder and removed afterwards.
#include "platform/win32/windows_api.h"

#include <imagehlp.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/tree_search.h"

namespace {

constexpr int kTopFolders = 50;
constexpr int kRuns = 3;

double Seconds() {
  LARGE_INTEGER frequency{}, now{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool MakeFile(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

// root\tNN\fNNNN\file-N.dat: the folders spread over 50 top folders, like a system folder
// with its subfolders.
std::vector<std::wstring> MakeTree(const std::wstring& root, int folders, int files) {
  std::vector<std::wstring> made{root};
  CreateDirectoryW(root.c_str(), nullptr);
  for (int t = 0; t < kTopFolders; ++t) {
    made.push_back(root + L"\\t" + std::to_wstring(t));
    CreateDirectoryW(made.back().c_str(), nullptr);
  }
  for (int f = 0; f < folders; ++f) {
    const std::wstring folder =
        root + L"\\t" + std::to_wstring(f % kTopFolders) + L"\\f" + std::to_wstring(f);
    CreateDirectoryW(folder.c_str(), nullptr);
    made.push_back(folder);
    for (int i = 0; i < files; ++i) {
      if (!MakeFile(folder + L"\\file-" + std::to_wstring(i) + L".dat")) {
        std::fprintf(stderr, "cannot create files below %ls\n", folder.c_str());
        std::exit(1);
      }
    }
  }
  return made;
}

void RemoveTree(std::vector<std::wstring> folders) {
  std::reverse(folders.begin(), folders.end());
  for (const std::wstring& folder : folders) {
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
          DeleteFileW((folder + L"\\" + data.cFileName).c_str());
        }
      } while (FindNextFileW(find, &data));
      FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
  }
}

double OwnWalk(const std::wstring& root) {
  const double start = Seconds();
  const bool found = platform::win32::FindFileInTree(root, L"absent.ocx",
                                                     [](const std::wstring&) { return true; });
  const double elapsed = Seconds() - start;
  if (found) std::fprintf(stderr, "own walk found a file that is not there\n");
  return elapsed;
}

double ImageHelpSearch(const std::string& root) {
  std::string rootPath = root;
  char name[] = "absent.ocx";
  char found[MAX_PATH + 1] = {};
  const double start = Seconds();
  const BOOL result = SearchTreeForFile(rootPath.data(), name, found);
  const double elapsed = Seconds() - start;
  if (result) std::fprintf(stderr, "SearchTreeForFile found a file that is not there\n");
  return elapsed;
}

}  // namespace

// Times our walk on an existing tree (a deep chain that the image help library's MAX_PATH
// buffers cannot walk), best of three; with withImageHelp also SearchTreeForFile, alternating.
int WalkExisting(const char* rootAnsi, bool withImageHelp) {
  wchar_t root[MAX_PATH + 1] = {};
  MultiByteToWideChar(CP_ACP, 0, rootAnsi, -1, root, MAX_PATH);
  double own = 1e9, imageHelp = 1e9;
  for (int run = 0; run < kRuns; ++run) {
    own = std::min(own, OwnWalk(root));
    if (withImageHelp) imageHelp = std::min(imageHelp, ImageHelpSearch(rootAnsi));
  }
  std::printf("own walk of %s: %.3f s\n", rootAnsi, own);
  if (withImageHelp) std::printf("SearchTreeForFile of %s: %.3f s\n", rootAnsi, imageHelp);
  return 0;
}

int main(int argc, char** argv) {
  if (argc > 1 && !std::isdigit(static_cast<unsigned char>(argv[1][0])))
    return WalkExisting(argv[1], argc > 2 && std::string(argv[2]) == "imagehlp");
  const int folders = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5000;
  const int files = argc > 2 ? std::max(0, std::atoi(argv[2])) : 20;
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring root = std::wstring(temp) + L"belvosta-tree-bench";
  char rootAnsi[MAX_PATH + 1] = {};
  WideCharToMultiByte(CP_ACP, 0, root.c_str(), -1, rootAnsi, MAX_PATH, nullptr, nullptr);

  std::printf("tree: %d folders, %d files each (%d files) below %s\n", folders, files,
              folders * files, rootAnsi);
  const double madeStart = Seconds();
  const std::vector<std::wstring> made = MakeTree(root, folders, files);
  std::printf("made in %.1f s\n", Seconds() - madeStart);

  // Alternating, so that neither profits from the other's warm caches; the best of each.
  double own = 1e9, imageHelp = 1e9;
  for (int run = 0; run < kRuns; ++run) {
    own = std::min(own, OwnWalk(root));
    imageHelp = std::min(imageHelp, ImageHelpSearch(rootAnsi));
  }
  std::printf("own walk:                  %.3f s\n", own);
  std::printf("SearchTreeForFile:         %.3f s\n", imageHelp);
  std::printf("own walk takes %.2f of the image help library's time\n", own / imageHelp);
  RemoveTree(made);
  return own <= imageHelp ? 0 : 1;
}
