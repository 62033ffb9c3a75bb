// Field order of every section, written once and used by the readers (TFieldReader) and the
// package writer (TFieldWriter).
#pragma once

#include <type_traits>
#include <vector>

#include "package/SetupDescription.h"
#include "package/SetupRecords.h"

namespace vnt {

// The smallest number of bytes a record can take: its defaults written out. Used to refuse
// list counts that the remaining data cannot hold.
template <class T, class WriteFn>
uint32_t MinimumRecordSize(WriteFn write) {
  TMemoryStream s;
  write(s, T{});
  return uint32_t(s.Size());
}

template <class A, class V, class ItemFn>
void TransferList(A& a, V& list, uint32_t minItemBytes, ItemFn item) {
  using T = std::remove_cvref_t<typename std::remove_cvref_t<V>::value_type>;
  if constexpr (A::Reading) {
    uint32_t n = ReadCount(a.Stream(), minItemBytes);
    list.clear();
    // A count the data was checked to hold: the list is made once, at its size.
    if (minItemBytes > 0) list.reserve(n);
    for (uint32_t i = 0; i < n; ++i) {
      T t{};
      item(a, t);
      list.push_back(std::move(t));
    }
  } else {
    WriteU32(a.Stream(), uint32_t(list.size()));
    for (auto& t : list) item(a, t);
  }
}

template <class A, class V>
void TransferStringList(A& a, V& list) {
  TransferList(a, list, 1, [](A& a, auto& text) { a.Str(text); });
}

// SecProperties, after its leading byte.
template <class A, class P, class R, class B>
void TransferProperties(A& a, P& p, R& req, B& bounds) {
  a.Str(p.SoftwareName);
  a.Str(p.CompanyName);
  a.Str(p.DefaultInstallDir);
  a.Str(p.DefaultProgramGroup);
  a.Str(p.Description);
  for (auto& list : p.SetupTypeComponents) a.Str(list);
  a.U8(req.ScreenClass);
  a.I32(req.ColorDepth);
  a.I32(req.Memory);
  a.Version(bounds.Short1, false);
  a.Version(bounds.Short2, false);
  a.Version(bounds.Lower, true);
  a.Version(bounds.Upper, true);
  a.Str(p.DisplayName);
  a.Str(p.DisplayVersion);
  a.Str(p.Contact);
  a.Str(p.AboutUrl);
  a.Str(p.HelpLink);
  a.Str(p.UpdateUrl);
}

// SecProperties2.
template <class A, class P>
void TransferProperties2(A& a, P& p) {
  a.Str(p.SetupPicture);
  a.Str(p.SetupTitle);
  a.Str(p.BackgroundBitmap);
  a.U8(p.BackgroundMode);
  a.I32(p.BackgroundColor1);
  a.I32(p.BackgroundColor2);
  a.U8(p.GradientDirection);
  a.U8(p.BackgroundSize);
  a.Str(p.SplashBitmap);
  a.Font(p.SetupFont);
  a.Str(p.AgreementFile);
}

template <class A, class M>
void TransferMessageTable(A& a, M& table) {
  for (auto& text : table.Texts) a.Str(text);
}

template <class A, class L>
void TransferLanguage(A& a, L& lang) {
  a.Str(lang.Name);
  a.U32(lang.LanguageId);
  a.U8(lang.Default);
  TransferMessageTable(a, lang.Messages);
}

// SecComponents.
template <class A, class D>
void TransferComponentsSection(A& a, D& d) {
  a.U32(d.ProductArchiveRange);
  a.Dbl(d.ProgressScale);
  TransferList(a, d.Components,
               MinimumRecordSize<TInstallerComponent>([](TStream& s, const TInstallerComponent& c) {
                 TFieldWriter w(s);
                 TransferComponent(w, c);
               }),
               [](A& a, auto& c) { TransferComponent(a, c); });
  TransferList(a, d.Conduits,
               MinimumRecordSize<THotSyncConduit>([](TStream& s, const THotSyncConduit& c) {
                 TFieldWriter w(s);
                 TransferConduit(w, c);
               }),
               [](A& a, auto& c) { TransferConduit(a, c); });
}

// SecFolders.
template <class A, class D>
void TransferFoldersSection(A& a, D& d) {
  TransferStringList(a, d.FileFolders);
  TransferStringList(a, d.ShortcutFolders);
}

}  // namespace vnt
