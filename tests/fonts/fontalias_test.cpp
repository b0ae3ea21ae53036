// The project's font configuration maps the family names of report templates to
// fixed files, so text measures the same on every machine.
#include <QByteArray>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>
#include <string>

namespace {

class FontAliases : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_FALSE(qgetenv("FONTCONFIG_FILE").isEmpty()) << "tests run with the project's fonts.conf";
        config = FcInitLoadConfigAndFonts();
        ASSERT_NE(config, nullptr);
    }
    static void TearDownTestSuite()
    {
        FcConfigDestroy(config);
        config = nullptr;
    }

    // The file fontconfig picks for a pattern such as "Arial:bold".
    static std::string match(const char *pattern)
    {
        if (!config)
            return {};
        FcPattern *p = FcNameParse(reinterpret_cast<const FcChar8 *>(pattern));
        FcConfigSubstitute(config, p, FcMatchPattern);
        FcDefaultSubstitute(p);
        FcResult result = FcResultNoMatch;
        FcPattern *m = FcFontMatch(config, p, &result);
        std::string file;
        FcChar8 *f = nullptr;
        if (m && FcPatternGetString(m, FC_FILE, 0, &f) == FcResultMatch)
            file = reinterpret_cast<const char *>(f);
        if (m)
            FcPatternDestroy(m);
        FcPatternDestroy(p);
        return file;
    }

    static FcConfig *config;
};

FcConfig *FontAliases::config = nullptr;

TEST_F(FontAliases, TemplateFamiliesResolveToTheirFiles)
{
    const std::string lib = "/usr/share/fonts/truetype/liberation2/";
    const std::pair<const char *, std::string> cases[] = {
        {"Arial", lib + "LiberationSans-Regular.ttf"},
        {"Arial:bold", lib + "LiberationSans-Bold.ttf"},
        {"Arial:italic", lib + "LiberationSans-Italic.ttf"},
        {"Times New Roman", lib + "LiberationSerif-Regular.ttf"},
        {"Times New Roman:bold:italic", lib + "LiberationSerif-BoldItalic.ttf"},
        {"Courier New", lib + "LiberationMono-Regular.ttf"},
        {"Tahoma", "/usr/share/wine/fonts/tahoma.ttf"},
        {"Tahoma:bold", "/usr/share/wine/fonts/tahomabd.ttf"},
    };
    for (const auto &[pattern, file] : cases)
        EXPECT_EQ(match(pattern), file) << pattern;
}

} // namespace
