// Faults of the steps after a read and of the writers: names that read but do not save,
// output that does not read back, limits of the formats, failed commands that leave files
// behind, links, special files, hostile counts and messages.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "cli/json_out.h"
#include "dxf/dxf_import.h"
#include "model/file_error.h"
#include "model/file_io.h"
#include "model/number_text.h"
#include "model/opz.h"
#include "model/project.h"
#include "opt/opt_file.h"
#include "opt/opt_import.h"
#include "opt/opt_out.h"
#include "opt/opt_writer.h"
#include "opt/texture_encoder.h"
#include "support/error_of.h"
#include "support/model_builders.h"
#include "support/opt_bytes.h"
#include "support/rich_project.h"
#include "support/temp_dir.h"

namespace tamsel {
namespace {

using namespace test;
namespace fs = std::filesystem;

std::string Dxf(const std::string& layer) {
  return "0\nSECTION\n2\nENTITIES\n0\n3DFACE\n8\n" + layer +
         "\n10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n31\n0\n12\n1\n22\n1\n32\n0\n0\nENDSEC\n0\nEOF\n";
}

TEST(Names, WhatAReaderAcceptsSavesAndReadsBack) {
  TempDir dir;
  const fs::path opt = CreateOpt(RichProject(dir), 1);
  // An OPT whose file name holds a backslash and a control character.
  const fs::path odd = dir / "sh\\ip\x01.opt";
  fs::copy_file(opt, odd);
  fs::create_directories(dir / "p");
  Model model;
  NewProject(model, dir / "p");
  ImportOpt(model, odd);
  for (const TextureRec& t : model.Textures) EXPECT_TRUE(IsSafeFileName(t.Name)) << t.Name;
  EXPECT_EQ(model.Textures[0].Name.substr(0, 7), "sh_ip__");
  SaveProject(model);
  Model reopened;
  OpenProject(reopened, ProjectFilePath(model.ProjectPath));
  EXPECT_EQ(reopened.TextureCount(), model.TextureCount());

  // A DXF layer "A\rB" names a mesh the project file can hold.
  IdCounters ids;
  Model drawing;
  drawing.Meshes = ReadDxfFaces(Dxf("A\rB\x7f"), "d.dxf", ids);
  EXPECT_EQ(drawing.Meshes[0].Name, "A_B_");
  EXPECT_NO_THROW(WriteOpzText(drawing));

  // A lone CR inside a line of a project file: refused, naming the line.
  std::string text = WriteOpzText(RichModel());
  text.replace(text.find("Hull"), 4, "Hu\rll");
  const std::string error = ErrorOf([&] { ReadOpzText(text, ids, "p.opz"); });
  EXPECT_NE(error.find("p.opz, line 3"), std::string::npos) << error;
  EXPECT_NE(error.find("carriage return"), std::string::npos) << error;
}

TEST(OptLimits, ALevelWithoutFacesWritesAnOptThatReadsBack) {
  TempDir dir;
  Model model = RichProject(dir);
  model.Meshes.Edit(0).LODs[1].Faces.clear();
  const fs::path opt = CreateOpt(model, 1);
  IdCounters ids;
  const OptImportResult back = ReadOptImport(ReadFileBytes(opt), opt.string(), ids, 0);
  ASSERT_EQ(back.meshes[0].LODs.size(), 2u);
  EXPECT_TRUE(back.meshes[0].LODs[1].Faces.empty());
  EXPECT_EQ(back.meshes[0].LODs[0].Faces.size(), 2u);
}

TEST(OptLimits, SizesBeyondThe32BitPointersAreRefusedBeforeAnythingIsWritten) {
  OptOut out;
  out.Long(1);
  // Checked before the bytes are allocated, so the test costs nothing.
  EXPECT_THROW(out.Zeros(OptOut::kMaxSize), OptTooLarge);
  EXPECT_EQ(out.Size(), 4u);
  // A texture of 46 341 x 46 341 texels overflowed 32-bit texel arithmetic.
  Bitmap huge;
  huge.width = huge.height = 46341;
  TextureRec t;
  t.Name = "huge.BMP";
  std::mt19937 random(1);
  TextureEncoder encoder(random);
  try {
    encoder.Write(out, "TEX00000", t, huge);
    ADD_FAILURE() << "written";
  } catch (const OptTooLarge& e) {
    EXPECT_NE(std::string(e.what()).find("huge.BMP"), std::string::npos) << e.what();
  }
}

TEST(StagedWrites, AFailedCommandLeavesTheFolderAsItWasAndNoTemporaryBehind) {
  TempDir dir;
  WriteFileAtomic(dir / "keep.BMP", std::string("old"));
  const auto before = dir.Snapshot();
  {
    StagedWrites staged;
    staged.Write(dir / "keep.BMP", std::string("new"));
    staged.Write(dir / "second.BMP", std::string("2"));
    // A temporary is hidden and named so that no user file has its name.
    int temporaries = 0;
    for (const auto& e : fs::directory_iterator(dir.path()))
      temporaries += IsStagedTemporaryName(e.path().filename().string());
    EXPECT_EQ(temporaries, 2);
    EXPECT_THROW(staged.Write(dir / "no such folder" / "third.BMP", std::string("3")), FileError);
  }  // not committed
  EXPECT_EQ(dir.Snapshot(), before);

  // A read error in an import writes nothing; a good import writes its bitmaps together.
  const fs::path opt = CreateOpt(RichProject(dir), 1);
  fs::create_directories(dir / "p");
  Model model;
  NewProject(model, dir / "p");
  Bytes damaged = ReadFileBytes(opt);
  damaged.resize(damaged.size() - 10);
  WriteFileAtomic(dir / "damaged.opt", damaged);
  EXPECT_THROW(ImportOpt(model, dir / "damaged.opt"), FileError);
  EXPECT_TRUE(fs::is_empty(dir / "p"));
  ImportOpt(model, opt);
  for (const auto& e : fs::directory_iterator(dir / "p"))
    EXPECT_FALSE(IsStagedTemporaryName(e.path().filename().string())) << e.path();
}

TEST(StagedWrites, StaleTemporariesGoWhenTheProjectIsOpenedOrSaved) {
  TempDir dir;
  Model model = RichProject(dir);
  SaveProject(model);
  WriteFileAtomic(dir / ".a.BMP.tamsel-Ab3dE9", std::string("left by a killed write"));
  WriteFileAtomic(dir / "a.BMP.tmp123456", std::string("a user's file"));
  WriteFileAtomic(dir / ".hidden.tamsel-toolong", std::string("not ours either"));
  Model opened;
  OpenProject(opened, ProjectFilePath(dir.path()));
  EXPECT_FALSE(fs::exists(dir / ".a.BMP.tamsel-Ab3dE9"));
  EXPECT_TRUE(fs::exists(dir / "a.BMP.tmp123456"));
  EXPECT_TRUE(fs::exists(dir / ".hidden.tamsel-toolong"));
  WriteFileAtomic(dir / ".x.opz.tamsel-000000", std::string("again"));
  SaveProject(opened);
  EXPECT_FALSE(fs::exists(dir / ".x.opz.tamsel-000000"));
}

TEST(Links, MergeCopiesOnlyRegularFilesAndWritesThroughNoLink) {
  TempDir outside, source, target;
  WriteFileAtomic(outside / "secret.bmp", std::string("outside the project"));
  Model other = RichProject(source);
  SaveProject(other);
  fs::create_symlink(outside / "secret.bmp", source / "pulled.bmp");
  fs::create_symlink(outside / "secret.bmp", target / "a.BMP");
  Model model;
  NewProject(model, target.path());
  std::vector<std::string> notes;
  MergeProject(model, ProjectFilePath(source.path()), nullptr, &notes);
  EXPECT_FALSE(fs::exists(target / "pulled.bmp"));
  EXPECT_EQ(ReadFileText(outside / "secret.bmp"), "outside the project");
  EXPECT_TRUE(fs::exists(target / "b.BMP"));
  // The link keeps its name and its target; the incoming bitmap takes a free name.
  EXPECT_TRUE(fs::is_symlink(target / "a.BMP"));
  EXPECT_EQ(ReadFileBytes(target / "a_2.BMP"), ReadFileBytes(source / "a.BMP"));
  ASSERT_EQ(notes.size(), 2u);
  const auto said = [&](const char* name) {
    return std::any_of(notes.begin(), notes.end(),
                       [&](const std::string& n) { return n.find(name) != std::string::npos; });
  };
  EXPECT_TRUE(said("a.BMP: another file of that name"));
  EXPECT_TRUE(said("pulled.bmp: not a regular file"));
}

TEST(SpecialFiles, AFolderOrFifoWhereAFileIsExpectedIsNamedNotRead) {
  TempDir dir;
  fs::create_directories(dir / "x.opz");
  Model model;
  std::string error = ErrorOf([&] { OpenProject(model, dir / "x.opz"); });
  EXPECT_NE(error.find("x.opz: is a folder"), std::string::npos) << error;
  ASSERT_EQ(mkfifo((dir / "t.BMP").c_str(), 0600), 0);
  error = ErrorOf([&] { ReadFileBytes(dir / "t.BMP"); });  // would block for ever
  EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
}

TEST(OpzCounts, RecordsBeyondTheCountsAndCountsBeyondTheFilledLinesAreRefused) {
  IdCounters ids;
  const std::string good = WriteOpzText(RichModel());
  // One texture fewer in the count than records present: the last one was dropped.
  std::string fewer = good;
  fewer.replace(fewer.find(" 2 \r\n", 5), 5, " 1 \r\n");
  std::string error = ErrorOf([&] { ReadOpzText(fewer, ids, "p.opz"); });
  EXPECT_NE(error.find("after the last texture"), std::string::npos) << error;
  EXPECT_NE(ErrorOf([&] { ReadOpzText(good + "extra\r\n", ids, "p.opz"); }), "");
  EXPECT_NO_THROW(ReadOpzText(good + "\r\n\r\n", ids, "p.opz"));

  // 2.5 million faces claimed over blank lines: refused before any face is made.
  std::string bomb = " 1 \r\n 0 \r\nM\r\n 1 \r\n 0 \r\n 0 \r\n";
  for (int i = 0; i < 2; ++i) bomb += " 0 \r\n";
  for (int i = 0; i < 4; ++i) bomb += "0, 0, 0\r\n";
  bomb += " 0 \r\n";
  for (int i = 0; i < 5; ++i) bomb += "0, 0, 0\r\n";
  bomb += "LOD 1\r\n 2500000 \r\n";
  bomb += std::string(3'000'000, '\n');
  error = ErrorOf([&] { ReadOpzText(bomb, ids, "p.opz"); });
  EXPECT_NE(error.find("2500000 is more than the file holds"), std::string::npos) << error;
}

TEST(OptHostile, ARepeatedHardpointOrEngineGlowPointerIsRefused) {
  TempDir dir;
  const Bytes good = ReadFileBytes(CreateOpt(RichProject(dir), 1));
  const OptFile file(good, "x.opt");
  const OptNode mesh = file.Node(file.meshes()[0], true);
  std::int32_t arrayPointer = 0;
  std::memcpy(&arrayPointer, &good[static_cast<std::size_t>(mesh.offset) + 12], 4);
  const std::size_t array = static_cast<std::size_t>(arrayPointer) - 100;
  const auto slotsOf = [&](std::int32_t type) {
    std::vector<std::size_t> slots;
    for (std::size_t k = 0; k < mesh.children.size(); ++k)
      if (mesh.children[k] >= 0 && file.Node(mesh.children[k], false).type == type)
        slots.push_back(k);
    return slots;
  };
  const auto hardpoints = slotsOf(kHardpointNode), glows = slotsOf(kEngineGlowNode);
  ASSERT_EQ(hardpoints.size(), 2u);
  ASSERT_EQ(glows.size(), 1u);
  // Slot `to` points at the node of slot `from`: one node met twice.
  const auto repeat = [&](std::size_t from, std::size_t to) {
    Bytes hostile = good;
    std::memcpy(&hostile[array + 4 * to], &good[array + 4 * from], 4);
    IdCounters ids;
    return ErrorOf([&] { ReadOptImport(hostile, "h.opt", ids, 0); });
  };
  EXPECT_NE(repeat(hardpoints[0], hardpoints[1]).find("a hardpoint node is referenced twice"),
            std::string::npos);
  EXPECT_NE(repeat(glows[0], hardpoints[0]).find("an engine glow node is referenced twice"),
            std::string::npos);
}

TEST(Messages, WholeFileErrorsNameTheLastLineAndNamesArePrintable) {
  IdCounters ids;
  std::string error =
      ErrorOf([&] { ReadDxfFaces("0\nSECTION\n2\nHEADER\n0\nENDSEC\n", "d.dxf", ids); });
  EXPECT_NE(error.find("d.dxf, line 6: the drawing has no ENTITIES section"), std::string::npos)
      << error;
  error = ErrorOf([&] { ReadDxfFaces("0\nSECTION\n2\nENTITIES\n0\n3DFACE\n", "d.dxf", ids); });
  EXPECT_NE(error.find("line 6: the ENTITIES section has no end"), std::string::npos) << error;
  // Control characters and bytes that are no UTF-8 are shown escaped; line breaks stay.
  const FileError e("bad\x1b[2J\xff.opz", "", "name \"x\x07y\" is odd\n  and long");
  EXPECT_EQ(std::string(e.what()), "bad\\x1B[2J\\xFF.opz: name \"x\\x07y\" is odd\n  and long");
  // In JSON output a byte that is no UTF-8 is its Latin-1 character, control characters
  // are escaped, and the text reads back (by the JSON library's own parser) as meant.
  const std::string json = JsonLine(JsonOut(JsonText("a\x01\xff\xc3\xa9\"\x7f")));
  EXPECT_EQ(json, "\"a\\u0001\xc3\xbf\xc3\xa9\\\"\x7f\"\n");
  EXPECT_EQ(nlohmann::json::parse(json).get<std::string>(), "a\x01\u00ff\u00e9\"\x7f");
}

TEST(Numbers, UnderflowReadsAsZeroAndOverflowIsRefused) {
  EXPECT_EQ(ParseSingle("1e-50"), 0.0f);
  EXPECT_TRUE(std::signbit(*ParseSingle("-1e-50")));
  EXPECT_EQ(ParseDouble("1e-400"), 0.0);
  EXPECT_EQ(ParseSingle("1e40"), std::nullopt);
  EXPECT_EQ(ParseSingle("-1e40"), std::nullopt);
  EXPECT_EQ(ParseDouble("1e400"), std::nullopt);
  EXPECT_EQ(ParseSingle("1e-40"), 1e-40f);  // small but a Single still
  EXPECT_EQ(ParseSingle("1e-50x"), std::nullopt);
}

}  // namespace
}  // namespace tamsel
