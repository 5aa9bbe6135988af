#include "collection.h"

#include "seededrandom.h"

#include "platform/codec.h"

#include <algorithm>
#include <iterator>
#include <numeric>
#include <stdexcept>
#include <unordered_set>

namespace tools {
namespace {

constexpr ThumbSpec baseline(int width, int height) { return {ThumbState::Present, width, height, false, false}; }
constexpr ThumbSpec progressive(int width, int height) { return {ThumbState::Present, width, height, true, false}; }
constexpr ThumbSpec greyscale(int width, int height) { return {ThumbState::Present, width, height, false, true}; }
constexpr ThumbSpec missing() { return {ThumbState::Missing, 0, 0, false, false}; }
constexpr ThumbSpec corrupt() { return {ThumbState::Corrupt, 300, 400, false, false}; }

struct SampleEntry {
    const char *title; // UTF-8
    const char *author;
    const char *subfolder;
    ThumbSpec thumb;
};

// The sizes cover the preview's own size (327 x 425), pictures smaller and larger than
// it, one of another shape and one very large.
const SampleEntry kSample[] = {
    {"בראשית", "מקראות גדולות", "1", baseline(300, 400)},
    {"בראשית רבה", "מדרש רבה", "1", progressive(300, 400)},
    {"בראשית - עיונים בפרשות השבוע", "נחמה ליבוביץ", "1", baseline(120, 160)},
    {"ספר החינוך", "ר' אהרן הלוי", "2", greyscale(300, 400)},
    {"ספר הזוהר", "ר' שמעון בר יוחאי", "2", baseline(327, 425)},
    {"ספר היובל", "", "2", baseline(200, 300)},
    {"ספרות ההשכלה בעברית", "יוסף קלוזנר", "3", {ThumbState::Present, 240, 320, true, true}},
    {"שו\"ת חתם סופר", "ר' משה סופר", "2", baseline(300, 400)},
    {"שולחן ערוך: אורח חיים", "ר' יוסף קארו", "2", baseline(654, 850)},
    {"מה זה ספר?", "אברהם כהן", "3", baseline(400, 300)},
    {"תולדות עם ישראל Vol.2 No.3", "שמעון דובנוב", "כתבי עת", progressive(300, 400)},
    {"קובץ מאמרים Vol.1", "מכון ירושלים", "כתבי עת", missing()},
    {"אנציקלופדיה תלמודית Vol.", "מערכת האנציקלופדיה", "3", baseline(300, 400)},
    {"מחקרי לשון Vol", "זאב בן-חיים", "3", greyscale(120, 160)},
    {"תרביץ No.45", "האוניברסיטה העברית", "כתבי עת", baseline(300, 400)},
    {"דרך", "משה חיים לוצאטו", "12", baseline(300, 400)},
    {"דרך ארץ", "ר' אליהו דסלר", "12", progressive(200, 300)},
    {"דרכי נועם", "ר' מרדכי הלוי", "12", baseline(300, 400)},
    {"ארץ ישראל בתקופת המקרא", "יוחנן אהרוני", "12", baseline(300, 400)},
    {"ארצות החיים", "ר' חיים פלאג'י", "12", corrupt()},
    {"אטלס ארץ ישראל לדורותיה", "מרכז המפות", "17\\04", baseline(3000, 4000)},
    {"The Book of Jewish Customs", "Moshe Cohen", "17\\04", baseline(300, 400)},
    {"Studies in Hebrew Grammar vol.1", "Sarah Levi", "17\\04", progressive(300, 400)},
    {"מילון עברי-English למתחילים", "David Stein", "3", baseline(300, 400)},
    {"1000 שנות דפוס עברי", "אברהם יערי", "3", greyscale(300, 400)},
    {"אגרות (כרך ב) / מהדורה מתוקנת", "אחד העם", "1", baseline(300, 400)},
    {"רמב\"ם <משנה תורה>", "ר' משה בן מימון", "2", baseline(300, 400)},
    {"אלף בית | ספר לימוד *חדש*", "מרים לוי", "3", baseline(300, 400)},
    {"תְּהִלִּים", "דוד המלך", "1", progressive(327, 425)},
    {"מבוא לספרות חז\"ל: מקורות, שיטות ודרכי עיון בספרות התנאים והאמוראים, עם מפתחות "
     "מפורטים, רשימת קיצורים וביבליוגרפיה מעודכנת לשנת 2010",
     "פרופ' יעקב נחום אפשטיין", "3", baseline(300, 400)},
    {"פירוש על התורה", "ר' שלמה יצחקי", "1", baseline(300, 400)},
    {"פירוש על התורה", "ר' אברהם אבן עזרא", "1", greyscale(327, 425)},
};

// Unique ids of four to five digits, in the order of drawing.
std::vector<int> drawIds(SeededRandom &random, size_t count)
{
    std::vector<int> ids;
    std::unordered_set<int> taken;
    while (ids.size() < count) {
        const int id = random.between(1000, 99999);
        if (taken.insert(id).second)
            ids.push_back(id);
    }
    return ids;
}

std::vector<std::string> toWin1255(std::initializer_list<const char *> utf8Words)
{
    std::vector<std::string> words;
    words.reserve(utf8Words.size());
    for (const char *word : utf8Words)
        words.push_back(platform::utf8ToWin1255(word));
    return words;
}

// The vocabulary of generated titles and authors.
struct Vocabulary {
    std::vector<std::string> heads = toWin1255({
        "ספר", "קובץ", "אוצר", "מבחר", "לקט", "ילקוט", "כתבי", "עיונים", "מחקרים", "זכרונות",
        "תעודות", "מקורות", "פרקי", "שערי", "דרכי", "נתיבות", "אורחות", "תולדות", "קורות",
        "סיפורי", "שירי", "תפילות", "פיוטי", "מנהגי", "דיני", "הלכות", "חידושי", "ביאור",
        "פירוש", "שאלות ותשובות", "דרשות", "מאמרי", "אגרות", "יסודות", "תורת",
        "משנת", "בית", "עץ", "גן", "שדה", "מגילת", "לוח", "מילון", "אטלס", "קונטרס"});
    std::vector<std::string> nouns = toWin1255({
        "התורה", "המשנה", "התלמוד", "ההלכה", "האגדה", "המדרש", "החיים", "השלום", "האמת",
        "הצדק", "החכמה", "הבינה", "הדעת", "המוסר", "האמונה", "הלב", "הנפש", "הרוח", "האור",
        "השמים", "המים", "ההר", "העיר", "הקהילה", "המשפחה", "הדורות", "הזמנים", "השנה",
        "המועדים", "השבת", "התפילה", "הנביאים", "הכתובים", "המלכים", "הכהנים", "החכמים",
        "הראשונים", "האחרונים", "הגאונים", "הפוסקים", "הלשון", "הדקדוק", "השירה", "הפיוט",
        "הקבלה", "החסידות", "ההשכלה", "הציונות", "העלייה", "הגולה", "הארץ", "ירושלים",
        "ישראל", "ספרד", "אשכנז", "תימן", "בבל", "פולין", "ליטא", "מרוקו", "עירק", "פרס",
        "צפת", "טבריה", "חברון", "יפו", "עכו", "הגליל", "הנגב", "הכרמל", "ים המלח", "ירדן"});
    std::vector<std::string> qualifiers = toWin1255({
        "הגדול", "החדש", "השלם", "המבואר", "הקצר", "העתיק", "הראשון", "השני", "המלא",
        "המתוקן", "המפורש", "החדשים", "הישנים", "בימי הביניים", "בעת החדשה", "בדורנו",
        "לדורותיהם", "במקרא", "בתלמוד", "בהלכה", "ובאגדה", "לעם", "לנוער", "למתחילים",
        "עם פירוש", "עם הערות", "ומפתחות", "בארץ ישראל", "בתפוצות", "של ישראל"});
    std::vector<std::string> acronyms = toWin1255({"שו\"ת", "רמב\"ם", "חז\"ל", "תנ\"ך", "רש\"י", "ש\"ס"});
    std::vector<std::string> hebrewNumerals = toWin1255({"א", "ב", "ג", "ד", "ה", "ו", "ז", "ח", "ט", "י", "יא", "יב", "טו", "טז", "כ"});
    std::vector<std::string> latinWords = {
        "Studies", "in", "Jewish", "History", "Hebrew", "Bible", "Literature", "Essays", "Journal",
        "of", "the", "Law", "Philosophy", "Medieval", "Modern", "Texts", "Commentary", "Review",
        "Annual", "Proceedings", "Language", "Poetry", "Midrash", "Talmud", "Sources", "Index"};
    std::vector<std::string> firstNames = toWin1255({
        "אברהם", "יצחק", "יעקב", "משה", "אהרן", "דוד", "שלמה", "יוסף", "חיים", "אליהו",
        "שמואל", "מנחם", "ישראל", "מרדכי", "בנימין", "שרה", "רבקה", "רחל", "לאה", "מרים",
        "חנה", "אסתר", "יהודה", "נחום", "עזרא", "זאב", "צבי", "דבורה", "יהושע", "גרשון",
        "שמעון", "ראובן", "נפתלי", "אלעזר", "פנחס", "עמרם", "שלום", "ברוך", "מאיר", "נתן"});
    std::vector<std::string> lastNames = toWin1255({
        "כהן", "לוי", "פרידמן", "רבינוביץ", "שפירא", "הורוביץ", "אבוחצירא", "מזרחי", "פרץ",
        "ביטון", "אלקבץ", "גולדברג", "קצנלבוגן", "אשכנזי", "ספרדי", "טולידנו", "אלפסי",
        "בן-דוד", "בר-אילן", "ויס", "שטרן", "רוזנטל", "זילברמן", "אדלר", "מרגליות", "חזן",
        "עטיה", "דהן", "אוחנה", "שרעבי", "קורח", "צדוק", "הלוי", "בן עמי", "ליברמן", "בלום"});
    std::vector<std::string> authorTitles = toWin1255({"ר' ", "הרב ", "פרופ' ", "ד\"ר ", "רבי "});
    std::vector<std::string> latinFirstNames = {"Moshe", "David", "Sarah", "Jacob", "Ruth", "Aaron", "Miriam", "Samuel"};
    std::vector<std::string> latinLastNames = {"Cohen", "Levi", "Stein", "Friedman", "Katz", "Rosen", "Adler", "Gross"};
    std::string about = platform::utf8ToWin1255("על");
    std::string volume = platform::utf8ToWin1255("כרך");
    std::string edition = platform::utf8ToWin1255("מהדורה");
    std::string with = platform::utf8ToWin1255("עם");
    std::string andPrefix = platform::utf8ToWin1255("ו");
};

std::string generatedTitle(SeededRandom &random, const Vocabulary &words)
{
    std::string title;
    if (random.chance(3)) { // Latin only
        const int length = random.between(2, 6);
        for (int i = 0; i < length; ++i) {
            if (i)
                title += ' ';
            title += random.pick(words.latinWords);
        }
        if (random.chance(40))
            title += " Vol." + std::to_string(random.between(1, 30));
        return title;
    }
    if (random.chance(6))
        title += random.pick(words.acronyms) + ' ';
    title += random.pick(words.heads) + ' ' + random.pick(words.nouns);
    switch (random.below(8)) {
    case 0: title += ' ' + words.about + ' ' + random.pick(words.nouns); break;
    case 1: title += ' ' + words.andPrefix + random.pick(words.nouns); break;
    case 2: title += ' ' + random.pick(words.qualifiers); break;
    case 3: title += ": " + random.pick(words.heads) + ' ' + random.pick(words.nouns); break;
    case 4: title += " - " + random.pick(words.qualifiers); break;
    case 5: title += ' ' + random.pick(words.nouns) + ' ' + random.pick(words.qualifiers); break;
    default: break;
    }
    if (random.chance(4))
        title += ' ' + random.pick(words.latinWords) + ' ' + random.pick(words.latinWords);
    if (random.chance(3)) // the long titles of anthologies
        for (int i = random.between(4, 10); i > 0; --i)
            title += ' ' + words.with + ' ' + random.pick(words.nouns);
    switch (random.below(25)) {
    case 0: title += " Vol." + std::to_string(random.between(1, 40)); break;
    case 1: title += " Vol." + std::to_string(random.between(1, 12)) + " No." + std::to_string(random.between(1, 6)); break;
    case 2: title += " No." + std::to_string(random.between(1, 200)); break;
    case 3: title += ' ' + words.volume + ' ' + random.pick(words.hebrewNumerals); break;
    case 4: title += " (" + std::to_string(random.between(1700, 2023)) + ')'; break;
    case 5: title += " (" + words.edition + ' ' + std::to_string(random.between(2, 9)) + ')'; break;
    case 6: title += '?'; break;
    default: break;
    }
    return title;
}

std::string generatedAuthor(SeededRandom &random, const Vocabulary &words)
{
    if (random.chance(1))
        return {};
    if (random.chance(4))
        return random.pick(words.latinFirstNames) + ' ' + random.pick(words.latinLastNames);
    std::string author;
    if (random.chance(40))
        author += random.pick(words.authorTitles);
    author += random.pick(words.firstNames);
    if (random.chance(25))
        author += ' ' + random.pick(words.firstNames);
    author += ' ' + random.pick(words.lastNames);
    return author;
}

ThumbSpec generatedThumb(SeededRandom &random)
{
    struct Size { int width, height; };
    static const std::vector<Size> sizes = {{120, 160}, {200, 300}, {300, 400}, {327, 425}, {450, 600}};
    const Size size = random.pick(sizes);
    const int kind = random.below(100);
    if (kind < 3)
        return missing();
    if (kind < 5)
        return {ThumbState::Present, size.width, size.height, true, true};
    if (kind < 15)
        return greyscale(size.width, size.height);
    if (kind < 30)
        return progressive(size.width, size.height);
    return baseline(size.width, size.height);
}

// Book indices in catalogue order: by title, then by id for equal titles.
std::vector<size_t> catalogueOrder(const std::vector<Book> &books)
{
    std::vector<size_t> order(books.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (books[a].title != books[b].title)
            return byteLess(books[a].title, books[b].title);
        return books[a].id < books[b].id;
    });
    return order;
}

} // namespace

std::vector<Book> sampleBooks(std::uint64_t seed)
{
    SeededRandom random(seed);
    const std::vector<int> ids = drawIds(random, std::size(kSample));
    std::vector<Book> books;
    books.reserve(std::size(kSample));
    for (size_t i = 0; i < std::size(kSample); ++i) {
        const SampleEntry &entry = kSample[i];
        books.push_back({ids[i], platform::utf8ToWin1255(entry.title), platform::utf8ToWin1255(entry.subfolder),
                         platform::utf8ToWin1255(entry.author), entry.thumb});
    }
    return books;
}

std::vector<Book> generatedBooks(int count, std::uint64_t seed)
{
    if (count < 0)
        throw std::invalid_argument("negative book count");
    SeededRandom random(seed);
    const Vocabulary words;
    std::vector<Book> books;
    books.reserve(static_cast<size_t>(count));
    std::unordered_set<std::string> titles;
    int id = random.between(1000, 9999);
    for (int i = 0; i < count; ++i) {
        std::string title = generatedTitle(random, words);
        // The vocabulary runs out of new combinations only for huge counts; a number
        // then keeps the title unique.
        for (int attempt = 0; titles.count(title) && attempt < 20; ++attempt)
            title = generatedTitle(random, words);
        for (int suffix = 2; titles.count(title); ++suffix)
            title += ' ' + std::to_string(suffix);
        titles.insert(title);
        id += random.between(1, 3);
        Book book;
        book.id = id;
        book.title = std::move(title);
        book.subfolder = std::to_string(id / 1000);
        book.author = generatedAuthor(random, words);
        book.thumb = generatedThumb(random);
        books.push_back(std::move(book));
    }
    return books;
}

std::string bookNameForTitle(std::string_view title)
{
    std::string name;
    name.reserve(title.size() + 8);
    for (const char c : title) {
        switch (c) {
        case '\\': case '/': name += ','; break;
        case ':': case '*': case '?': case '|': name += ' '; break;
        case '"': name += "''"; break;
        case '<': name += '('; break;
        case '>': name += ')'; break;
        default:
            name += static_cast<unsigned char>(c) < 0x20 ? '_' : c;
        }
    }
    return name;
}

bool byteLess(std::string_view a, std::string_view b)
{
    // char_traits<char> compares as unsigned char, which is exactly the files' order.
    return a.compare(b) < 0;
}

std::vector<std::string> catalogueLines(const std::vector<Book> &books, std::string_view booksFolder)
{
    std::vector<std::string> lines;
    lines.reserve(books.size() + 1);
    lines.emplace_back(booksFolder);
    for (const size_t i : catalogueOrder(books)) {
        const Book &book = books[i];
        std::string line = std::to_string(book.id);
        line.reserve(line.size() + book.title.size() + book.subfolder.size() + book.author.size() + 3);
        line += '\t';
        line += book.title;
        line += '\t';
        line += book.subfolder;
        line += '\t';
        line += book.author;
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<std::string> bookListLines(const std::vector<Book> &books, std::string_view booksFolder)
{
    struct Entry { std::string name; const Book *book; };
    std::vector<Entry> entries;
    entries.reserve(books.size());
    std::unordered_set<std::string> names;
    for (const size_t i : catalogueOrder(books)) {
        const std::string base = bookNameForTitle(books[i].title);
        std::string name = base;
        for (int copy = 2; !names.insert(name).second; ++copy)
            name = base + " (" + std::to_string(copy) + ')';
        entries.push_back({std::move(name), &books[i]});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) { return byteLess(a.name, b.name); });

    std::vector<std::string> lines;
    lines.reserve(entries.size() + 1);
    lines.emplace_back(booksFolder);
    for (const Entry &entry : entries)
        lines.push_back(entry.name + '\t' + std::to_string(entry.book->id) + '\t' + entry.book->subfolder);
    return lines;
}

} // namespace tools
