// The report's texts from any figures and any adapter, DxDiag and version
// texts: every composed text ends inside its buffer, and a cut one is the
// leading part of the whole.
#include <cstring>
#include <string>

#include "sysinfo/dxdiag_text.h"
#include "sysinfo/os_version.h"
#include "sysinfo/report_text.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

// Sizes of the platform's fields the texts come from.
constexpr size_t kAdapterTextSize = 512;   // adapter identifier Description, Driver
constexpr size_t kShaderVersionSize = 4;   // "1.1", "2.0", "3.0"
constexpr size_t kServicePackSize = 128;   // version query's service-pack text
constexpr size_t kLargeBuffer = 64 * 1024;

void TakeField(FuzzInput& in, size_t maxLength, char* field, size_t fieldSize)
{
    size_t length = 0;
    const uint8_t* bytes = in.TakeBlob(maxLength, &length);
    TrimIntoField(bytes, length, field, fieldSize);
}

bool IsTerminatedWithin(const char* buffer, size_t size)
{
    return std::memchr(buffer, 0, size) != nullptr;
}

struct ReportInputs {
    ReportFields  m_Fields;
    ReportProbe   m_Probe;
    MemoryFigures m_Memory;
    char          m_szDescription[kAdapterTextSize];
    char          m_szDriver[kAdapterTextSize];
    char          m_szVs[kShaderVersionSize];
    char          m_szPs[kShaderVersionSize];
};

void TakeFields(FuzzInput& in, ReportFields* fields)
{
    if (in.TakeBool()) {
        // The five fields straight from arbitrary 128-byte texts.
        TakeField(in, 300, fields->m_szOs, sizeof(fields->m_szOs));
        TakeField(in, 300, fields->m_szCpu, sizeof(fields->m_szCpu));
        TakeField(in, 300, fields->m_szDirectX, sizeof(fields->m_szDirectX));
        TakeField(in, 300, fields->m_szVram, sizeof(fields->m_szVram));
        TakeField(in, 300, fields->m_szVpMode, sizeof(fields->m_szVpMode));
        return;
    }
    // Gathered from their sources, which may be longer than the fields.
    char os[kOsTextSize];
    char processor[kDxDiagTextSize];
    char version[kDxDiagTextSize];
    char memory[kDxDiagTextSize];
    char brand[300];
    TakeField(in, 300, os, sizeof(os));
    TakeField(in, 300, processor, sizeof(processor));
    TakeField(in, 300, version, sizeof(version));
    TakeField(in, 300, memory, sizeof(memory));
    TakeField(in, 400, brand, sizeof(brand));
    ReportSources sources = {};
    sources.m_pszOs = in.TakeBool() ? os : nullptr;
    sources.m_bDxDiagValid = in.Take<int32_t>();
    sources.m_pszDxProcessor = processor;
    sources.m_pszDxDirectXVersion = version;
    sources.m_pszDxDisplayMemory = memory;
    sources.m_pszCpuBrand = in.TakeBool() ? brand : nullptr;
    sources.m_bHaveDevice = in.Take<int32_t>();
    sources.m_dwAvailTextureMem = in.Take<uint32_t>();
    sources.m_dwBehaviorFlags = in.Take<uint32_t>();
    std::memset(fields, 0x5A, sizeof(*fields));
    FillReportFields(&sources, fields);
    FUZZ_CHECK(IsTerminatedWithin(fields->m_szOs, kReportFieldSize));
    FUZZ_CHECK(IsTerminatedWithin(fields->m_szCpu, kReportFieldSize));
    FUZZ_CHECK(IsTerminatedWithin(fields->m_szDirectX, kReportFieldSize));
    FUZZ_CHECK(IsTerminatedWithin(fields->m_szVram, kReportFieldSize));
    FUZZ_CHECK(IsTerminatedWithin(fields->m_szVpMode, kReportFieldSize));
}

void TakeProbe(FuzzInput& in, ReportInputs* r)
{
    TakeField(in, 700, r->m_szDescription, kAdapterTextSize);
    TakeField(in, 700, r->m_szDriver, kAdapterTextSize);
    TakeField(in, 8, r->m_szVs, kShaderVersionSize);
    TakeField(in, 8, r->m_szPs, kShaderVersionSize);
    ReportProbe& p = r->m_Probe;
    // Without a Direct3D object the texts are missing altogether.
    bool haveTexts = !in.TakeBool();
    p.m_pszDescription = haveTexts ? r->m_szDescription : nullptr;
    p.m_pszDriver = haveTexts ? r->m_szDriver : nullptr;
    p.m_pszVsVersion = haveTexts ? r->m_szVs : nullptr;
    p.m_pszPsVersion = haveTexts ? r->m_szPs : nullptr;
    p.m_nDeviceType = in.Take<int32_t>();
    p.m_bVs11 = in.Take<int32_t>();
    p.m_bVs20 = in.Take<int32_t>();
    p.m_bPs11 = in.Take<int32_t>();
    p.m_bPs20 = in.Take<int32_t>();
    p.m_bR5G6B5 = in.Take<int32_t>();
    p.m_bA1R5G5B5 = in.Take<int32_t>();
    p.m_bA4R4G4B4 = in.Take<int32_t>();
    p.m_bA8R8G8B8 = in.Take<int32_t>();
    p.m_nMaxTextureWidth = in.Take<int32_t>();
    p.m_nMaxTextureHeight = in.Take<int32_t>();
    p.m_bSquareOnly = in.Take<int32_t>();
    p.m_bNoRenderTexture = in.Take<int32_t>();
    p.m_bShaderSkinning = in.Take<int32_t>();
    p.m_dwMaxVertexShaderConst = in.Take<uint32_t>();
    p.m_bPixelShader = in.Take<int32_t>();
}

void TakeMemory(FuzzInput& in, MemoryFigures* memory)
{
    if (in.TakeBool()) {
        uint64_t total = in.Take<uint64_t>();
        uint64_t avail = in.Take<uint64_t>();
        *memory = ComputeMemoryFigures(total, avail);
        return;
    }
    // Any bit pattern, infinities and NaNs included.
    memory->m_nTotalMb = in.Take<int64_t>();
    memory->m_dTotalGb = in.Take<double>();
    memory->m_nFreeMb = in.Take<int64_t>();
    memory->m_dFreeGb = in.Take<double>();
}

typedef size_t (*ComposeFn)(const ReportFields*, const ReportProbe*, const MemoryFigures*,
                            char*, size_t);

// Composes into a heap buffer of exactly size bytes; the text must end inside
// it and be the leading part of the same text composed without limit.
std::string ComposeChecked(ComposeFn compose, const ReportInputs& r, size_t size)
{
    char* buffer = new char[size];
    std::memset(buffer, 0x5A, size);
    size_t length = compose(&r.m_Fields, &r.m_Probe, &r.m_Memory, buffer, size);
    FUZZ_CHECK(length < size);
    FUZZ_CHECK(buffer[length] == '\0');
    FUZZ_CHECK(std::strlen(buffer) == length);
    std::string text(buffer, length);
    delete[] buffer;
    return text;
}

void CheckReport(ComposeFn compose, const ReportInputs& r, size_t otherSize)
{
    std::string whole = ComposeChecked(compose, r, kLargeBuffer);
    FUZZ_CHECK(whole.size() < kLargeBuffer - 1);
    for (size_t size : {kReportBufferSize, otherSize}) {
        std::string cut = ComposeChecked(compose, r, size);
        FUZZ_CHECK(whole.compare(0, cut.size(), cut) == 0);
        // A cut happens only at the buffer's end.
        FUZZ_CHECK(cut.size() == whole.size() || cut.size() == size - 1);
    }
}

void FuzzReport(FuzzInput& in)
{
    ReportInputs* r = new ReportInputs();
    TakeFields(in, &r->m_Fields);
    TakeProbe(in, r);
    TakeMemory(in, &r->m_Memory);
    size_t otherSize = 1 + in.Take<uint16_t>() % kReportBufferSize;
    CheckReport(ComposeDialogReport, *r, otherSize);
    CheckReport(ComposeFileReport, *r, otherSize);

    char* lines = new char[kReportBufferSize];
    size_t length = ComposeFileTextureLines(&r->m_Probe, lines, kReportBufferSize);
    FUZZ_CHECK(length < kReportBufferSize && lines[length] == '\0');
    delete[] lines;
    delete r;
}

void FuzzOsText(FuzzInput& in)
{
    uint32_t platformId = in.Take<uint32_t>();
    uint32_t major = in.Take<uint32_t>();
    uint32_t minor = in.Take<uint32_t>();
    uint32_t build = in.Take<uint32_t>();
    char servicePack[kServicePackSize];
    TakeField(in, 300, servicePack, sizeof(servicePack));

    char* text = new char[kOsTextSize];
    std::memset(text, 0x5A, kOsTextSize);
    ComposeOsVersionText(platformId, major, minor, build, servicePack, text, kOsTextSize);
    FUZZ_CHECK(IsTerminatedWithin(text, kOsTextSize));
    // At most a 20-character name and a 63-character suffix.
    FUZZ_CHECK(std::strlen(text) <= 83);
    std::string whole(text);
    delete[] text;
    FUZZ_CHECK(whole.find(std::to_string(static_cast<int32_t>(major)) + ".") != std::string::npos);

    // 84 bytes are always enough: the smallest buffer gives the same text.
    const size_t smallest = 84;
    char* small = new char[smallest];
    ComposeOsVersionText(platformId, major, minor, build, servicePack, small, smallest);
    FUZZ_CHECK(whole == small);
    delete[] small;
}

void FuzzDxDiagText(FuzzInput& in)
{
    // Odd addresses too: the text may sit anywhere inside a string object.
    size_t offset = in.Take<uint8_t>() & 1;
    size_t units = in.Left() / 2;
    // Past 128 units nothing more may be read, so no terminator is given then.
    bool terminated = units < kDxDiagTextSize;
    if (!terminated)
        units = kDxDiagTextSize;
    size_t bytes = offset + 2 * units + (terminated ? 2 : 0);
    uint8_t* source = new uint8_t[bytes];
    std::memset(source, 0, bytes);
    in.TakeInto(source + offset, 2 * units);

    char* field = new char[kDxDiagTextSize];
    std::memset(field, 0x5A, kDxDiagTextSize);
    NarrowDxDiagText(source + offset, field);
    FUZZ_CHECK(field[kDxDiagTextSize - 1] == '\0');

    // One byte per unit up to U+00FF, ending at a NUL or the first wider unit.
    size_t i = 0;
    for (; i < kDxDiagTextSize - 1 && i < units; ++i) {
        uint16_t unit = static_cast<uint16_t>(source[offset + 2 * i] |
                                              (source[offset + 2 * i + 1] << 8));
        if (unit == 0 || unit > 0xFF)
            break;
        FUZZ_CHECK(static_cast<uint8_t>(field[i]) == unit);
    }
    FUZZ_CHECK(field[i] == '\0');
    delete[] field;
    delete[] source;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    switch (in.Take<uint8_t>() % 3) {
    case 0:
        FuzzReport(in);
        break;
    case 1:
        FuzzOsText(in);
        break;
    default:
        FuzzDxDiagText(in);
        break;
    }
    return 0;
}
