#include "banner/pagetext.h"

#include <gumbo.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <string_view>
#include <type_traits>

namespace tarvell {

namespace {

// How an element takes part in the text, as a browser's default style sheet lays it out.
enum class Role : unsigned char {
    Inline,
    Hidden,    // display: none, or content a browser does not show (scripts, form controls)
    Block,     // on lines of its own
    Paragraph, // with an empty line before and after
    Preformatted,
    Table,
    Row,
    Cell,
    Break,
};

struct Named
{
    Role role;
    // Element names, separated by single spaces.
    const char *names;
};

// By name rather than by gumbo's tag constants: the set of constants differs between gumbo
// releases. What is not named here is inline.
constexpr Named kRoles[] = {
    {Role::Hidden, "head title script style template noscript area base basefont datalist link "
                   "meta noembed noframes param rp select textarea iframe audio video canvas"},
    {Role::Block, "html body address article aside blockquote caption center details dialog dir "
                  "div dl dd dt fieldset figcaption figure footer form frameset h1 h2 h3 h4 h5 "
                  "h6 header hgroup hr legend li main menu nav ol optgroup option search "
                  "section summary ul"},
    {Role::Paragraph, "p"},
    {Role::Preformatted, "pre listing plaintext xmp"},
    {Role::Table, "table"},
    {Role::Row, "tr"},
    {Role::Cell, "td th"},
    {Role::Break, "br"},
};

Role roleOfTag(GumboTag tag)
{
    // Looked up once per tag constant, not once per element.
    static const auto table = [] {
        std::array<Role, GUMBO_TAG_LAST + 1> roles{};
        for (int tag = 0; tag < GUMBO_TAG_UNKNOWN; ++tag) {
            const std::string_view name = gumbo_normalized_tagname(GumboTag(tag));
            for (const Named &named : kRoles) {
                const std::string_view names = named.names;
                for (std::size_t from = 0; from <= names.size();) {
                    const std::size_t end = std::min(names.find(' ', from), names.size());
                    if (names.substr(from, end - from) == name)
                        roles[std::size_t(tag)] = named.role;
                    from = end + 1;
                }
            }
        }
        return roles;
    }();
    return unsigned(tag) < table.size() ? table[unsigned(tag)] : Role::Inline;
}

bool isTag(const GumboNode *node, const char *name)
{
    return node->type == GUMBO_NODE_ELEMENT &&
           node->v.element.tag_namespace == GUMBO_NAMESPACE_HTML &&
           std::strcmp(gumbo_normalized_tagname(node->v.element.tag), name) == 0;
}

// The line breaks an element asks for before and after itself.
int requiredBreaks(Role role)
{
    switch (role) {
    case Role::Block:
    case Role::Table:
    case Role::Preformatted:
        return 1;
    case Role::Paragraph:
        return 2;
    default:
        return 0;
    }
}

Role roleOf(const GumboNode *node)
{
    const GumboElement &element = node->v.element;
    if (element.tag_namespace != GUMBO_NAMESPACE_HTML) {
        // SVG and MathML show their text inline, but not their scripts, styles and titles.
        const char *name = gumbo_normalized_tagname(element.tag);
        return std::strcmp(name, "script") == 0 || std::strcmp(name, "style") == 0 ||
                       std::strcmp(name, "title") == 0
                   ? Role::Hidden
                   : Role::Inline;
    }
    if (gumbo_get_attribute(&element.attributes, "hidden"))
        return Role::Hidden;
    return roleOfTag(element.tag);
}

bool hasRole(const GumboNode *node, Role role)
{
    return node->type == GUMBO_NODE_ELEMENT && roleOf(node) == role;
}

const GumboVector *childrenOf(const GumboNode *node)
{
    switch (node->type) {
    case GUMBO_NODE_DOCUMENT:
        return &node->v.document.children;
    case GUMBO_NODE_ELEMENT:
        return &node->v.element.children;
    default:
        return nullptr;
    }
}

const GumboNode *childAt(const GumboVector *children, std::size_t index)
{
    return children && index < children->length
               ? static_cast<const GumboNode *>(children->data[index])
               : nullptr;
}

const GumboNode *nextSibling(const GumboNode *node)
{
    return node->parent
               ? childAt(childrenOf(node->parent), std::size_t(node->index_within_parent) + 1)
               : nullptr;
}

bool isRowGroup(const GumboNode *node)
{
    return isTag(node, "tbody") || isTag(node, "thead") || isTag(node, "tfoot");
}

// Whether a later cell follows in the same row. Each scan stops at the next cell, so the
// scans of a row's cells cover its children once.
bool hasLaterCell(const GumboNode *cell)
{
    for (const GumboNode *next = nextSibling(cell); next; next = nextSibling(next)) {
        if (hasRole(next, Role::Cell))
            return true;
    }
    return false;
}

bool groupHasRow(const GumboNode *group)
{
    const GumboVector *children = childrenOf(group);
    for (std::size_t i = 0; i < children->length; ++i) {
        if (hasRole(static_cast<const GumboNode *>(children->data[i]), Role::Row))
            return true;
    }
    return false;
}

// Whether a later row follows in the same table, in this row group or a later one. Like the
// cells' scans, each stops at the next row.
bool hasLaterRow(const GumboNode *row)
{
    for (const GumboNode *at = row;; at = at->parent) {
        for (const GumboNode *next = nextSibling(at); next; next = nextSibling(next)) {
            if (hasRole(next, Role::Row) || (isRowGroup(next) && groupHasRow(next)))
                return true;
        }
        if (!at->parent || !isRowGroup(at->parent))
            return false;
    }
}

// The text as a browser lays it out: white space collapsed within a line and dropped at
// either end of one, and the line breaks that blocks ask for merged into the largest.
class Lines
{
public:
    void text(QStringView piece, bool preformatted)
    {
        for (const QChar c : piece) {
            const bool space = c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
            if (space && !preformatted) {
                m_space = m_space || !m_lineStart;
                continue;
            }
            flush();
            m_out += c == QChar::Nbsp ? QChar(u' ') : c;
            m_lineStart = preformatted && c == u'\n';
        }
    }
    // A line break or tab of the page's own: a line break that does not merge with others.
    void literal(QChar c)
    {
        m_space = false;
        flush();
        m_out += c;
        m_lineStart = true;
    }
    void breaks(int count)
    {
        m_breaks = std::max(m_breaks, count);
        m_space = false;
        m_lineStart = true;
    }
    QString result() const { return m_out; }

private:
    void flush()
    {
        if (m_breaks > 0 && !m_out.isEmpty())
            m_out += QString(m_breaks, u'\n');
        else if (m_space)
            m_out += u' ';
        m_breaks = 0;
        m_space = false;
    }

    QString m_out;
    int m_breaks = 0;
    bool m_space = false;
    bool m_lineStart = true;
};

// The element's tree, walked by its parent and sibling links: a page nested thousands deep
// must not take as many stack frames.
QString textOf(const GumboNode *root)
{
    Lines lines;
    int preformatted = 0;
    const GumboNode *node = root;
    bool entering = true;
    while (node) {
        const bool element = node->type == GUMBO_NODE_ELEMENT;
        const Role role = element ? roleOf(node) : Role::Inline;
        if (entering) {
            switch (node->type) {
            case GUMBO_NODE_TEXT:
            case GUMBO_NODE_CDATA:
            case GUMBO_NODE_WHITESPACE:
                // White space between a table's parts is no part of any cell.
                if (!node->parent || !(isTag(node->parent, "table") || isRowGroup(node->parent) ||
                                       isTag(node->parent, "tr")))
                    lines.text(QString::fromUtf8(node->v.text.text), preformatted > 0);
                break;
            case GUMBO_NODE_ELEMENT:
                if (const int count = requiredBreaks(role))
                    lines.breaks(count);
                if (role == Role::Preformatted)
                    ++preformatted;
                else if (role == Role::Break)
                    lines.literal(u'\n');
                break;
            default:
                break;
            }
            const GumboVector *children = role == Role::Hidden ? nullptr : childrenOf(node);
            if (const GumboNode *first = childAt(children, 0)) {
                node = first;
                continue;
            }
        }
        // Leaving the node: its children are done.
        if (element) {
            if (const int count = requiredBreaks(role))
                lines.breaks(count);
            switch (role) {
            case Role::Preformatted:
                --preformatted;
                break;
            case Role::Row:
                if (hasLaterRow(node))
                    lines.literal(u'\n');
                break;
            case Role::Cell:
                if (hasLaterCell(node))
                    lines.literal(u'\t');
                break;
            default:
                break;
            }
        }
        if (node == root)
            break;
        if (const GumboNode *next = nextSibling(node)) {
            node = next;
            entering = true;
        } else {
            node = node->parent;
            entering = false;
        }
    }
    return lines.result();
}

// Gumbo 0.10 takes the options that built a tree to free it, later releases only the tree.
template <typename Destroy>
void destroyOutput(Destroy destroy, const GumboOptions *options, GumboOutput *output)
{
    if constexpr (std::is_invocable_v<Destroy, const GumboOptions *, GumboOutput *>)
        destroy(options, output);
    else
        destroy(output);
}

// Later gumbo releases stop at 400 levels of nesting and hand back part of the page; 0.10 has
// no such limit. Every release reads the whole page alike: no page nests deeper than it has
// bytes.
template <typename Options> void liftDepthLimit(Options &options, std::size_t size)
{
    if constexpr (requires { options.max_tree_depth; }) {
        using Depth = decltype(options.max_tree_depth);
        options.max_tree_depth =
            Depth(std::min<std::size_t>(size + 1, std::numeric_limits<Depth>::max()));
    }
}

} // namespace

QString PageText::of(QByteArrayView utf8)
{
    GumboOptions options = kGumboDefaultOptions;
    // The errors are of no use here, and a broken page has one every few bytes.
    options.max_errors = 0;
    liftDepthLimit(options, std::size_t(utf8.size()));
    GumboOutput *output = gumbo_parse_with_options(&options, utf8.data(), std::size_t(utf8.size()));
    const QString text = textOf(output->document);
    destroyOutput(gumbo_destroy_output, &options, output);
    return text;
}

} // namespace tarvell
