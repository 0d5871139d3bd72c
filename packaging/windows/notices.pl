#!/usr/bin/perl
# Writes the licences folder of the Windows packages: for every binary in FOLDER, the notices
# that notices.txt names for it, each as a file with the component's name, version, copyright
# and licence text, and README.txt saying which binary carries which. Qt's components come from
# the qt_attribution.json files kept from the Qt source that was built; the MinGW runtime's from
# the Debian packages that hold its DLLs.
# Usage: notices.pl FOLDER TABLE ATTRIBUTIONS GUMBO_COPYRIGHT
use strict;
use warnings;
use Cwd qw(realpath);
use File::Basename qw(basename dirname);
use File::Find;
use File::Path qw(make_path);
use JSON::PP;

my ($folder, $table, $attributions, $gumbo_copyright) = @ARGV;
die "usage: notices.pl FOLDER TABLE ATTRIBUTIONS GUMBO_COPYRIGHT\n" unless defined $gumbo_copyright;
my $licenses = "$folder/licenses";

sub slurp { my ($path) = @_; open my $in, '<:raw', $path or die "$path: $!\n"; local $/; return <$in>; }
sub spew { my ($path, $text) = @_; open my $out, '>:raw', $path or die "$path: $!\n"; print $out $text; close $out or die "$path: $!\n"; }
sub crlf { my ($text) = @_; $text =~ s/\r?\n/\r\n/g; return $text; }

# Qt's attribution files hold raw line breaks inside strings, which strict JSON refuses.
my %components;
find(sub {
    return unless $_ eq 'qt_attribution.json';
    my $dir = $File::Find::dir;
    my $data = JSON::PP->new->loose->relaxed->decode(slurp($_));
    for my $entry (ref $data eq 'ARRAY' ? @$data : ($data)) {
        $components{$entry->{Id}} = { %$entry, dir => $dir };
    }
}, $attributions);

# A notice in the table is an Id, or "a|b" for the first of them that the built Qt has (a
# component renamed between Qt versions), or "id?" for one that only some Qt versions build in.
my %own = map { $_ => 1 } qw(qt tarvell gumbo mingw-runtime mingw-w64);
sub resolve {
    my ($token) = @_;
    my $optional = $token =~ s/\?$//;
    for my $id (split /\|/, $token) {
        return ($id) if $own{$id} || $components{$id};
    }
    return () if $optional;
    die "the built Qt has no third-party component '$token'\n";
}

my @rules;
for (split /\n/, slurp($table)) {
    next if /^\s*(#|$)/;
    my ($pattern, @notices) = split;
    (my $regex = quotemeta lc $pattern) =~ s/\\\*/.*/g;
    push @rules, [qr/^$regex$/, [map { resolve($_) } @notices]];
}

# The Debian copyright file of the package that holds a file of the tool chain.
sub package_copyright {
    my ($file) = @_;
    my ($package) = `dpkg-query -S '$file'` =~ /^([^:]+):/ or die "no package holds $file\n";
    return slurp("/usr/share/doc/$package/copyright");
}
my $compiler = 'x86_64-w64-mingw32-g++-posix';
sub runtime_file { my $path = `$compiler -print-file-name=$_[0]`; chomp $path; return realpath($path); }

my %written;
sub notice {
    my ($id) = @_;
    return $written{$id} if $written{$id};
    my ($title, $text);
    if ($id eq 'qt') {
        $title = 'Qt';
        $text = "Qt (qtbase): Copyright (C) The Qt Company Ltd. and other contributors.\n"
            . "Licensed under the GNU Lesser General Public License version 3 (LGPL-3.txt), which\n"
            . "adds its permissions to the GNU General Public License version 3 (GPL-3.txt).\n"
            . "SOURCE.txt says where the corresponding source is and how it was built.\n";
    } elsif ($id eq 'tarvell') {
        $title = 'Tarvell';
        $text = "Tarvell, its logos, icons and banner pictures: (c) 2026 Tarvell Developers.\n"
            . "The program is given away free of charge; no other licence is granted.\n";
    } elsif ($id eq 'gumbo') {
        $title = 'Gumbo';
        $text = "Gumbo, an HTML5 parser, built into banner.dll from Debian's gumbo-parser source.\n"
            . "Licensed under the Apache License 2.0 (Apache-2.0.txt).\n\n" . slurp($gumbo_copyright);
    } elsif ($id eq 'mingw-runtime') {
        $title = 'GCC runtime libraries (libstdc++, libgcc)';
        $text = "From Debian's MinGW-w64 GCC: the GNU General Public License version 3 with the GCC\n"
            . "Runtime Library Exception. Debian's copyright file follows.\n\n"
            . package_copyright(runtime_file('libstdc++-6.dll'));
    } elsif ($id eq 'mingw-w64') {
        $title = 'MinGW-w64 (winpthreads)';
        $text = "From Debian's MinGW-w64 development files. Debian's copyright file follows.\n\n"
            . package_copyright(runtime_file('libwinpthread-1.dll'));
    } else {
        my $c = $components{$id};
        $title = $c->{Name};
        $text = "$c->{Name}\n";
        $text .= "Version: $c->{Version}\n" if $c->{Version};
        $text .= "Used in Qt: $c->{QtUsage}\n" if $c->{QtUsage};
        $text .= "Licence: $c->{License}\n" if $c->{License};
        $text .= "\n$c->{Copyright}\n" if $c->{Copyright};
        for my $file (grep { defined } $c->{LicenseFile}, @{ $c->{LicenseFiles} // [] }) {
            $text .= "\n---- " . basename($file) . " ----\n" . slurp("$c->{dir}/$file");
        }
    }
    spew("$licenses/$id.txt", crlf($text));
    return $written{$id} = $title;
}

make_path($licenses);
my @index;
find({ no_chdir => 1, wanted => sub {
    return unless -f && /\.(dll|exe)$/i;
    my $relative = substr($File::Find::name, length($folder) + 1);
    my ($rule) = grep { lc(basename($relative)) =~ $_->[0] } @rules;
    die "no notice is known for $relative: add it to notices.txt\n" unless $rule;
    push @index, [$relative, [map { notice($_); "$_.txt" } @{ $rule->[1] }]];
}}, $folder);

for my $text (qw(LGPL-3 GPL-3 Apache-2.0)) {
    spew("$licenses/$text.txt", crlf(slurp("/usr/share/common-licenses/$text")));
}
my $readme = "Licences of what this folder holds. Each binary, then the files here that give\n"
    . "its notices. LGPL-3.txt, GPL-3.txt and Apache-2.0.txt are the licence texts.\n\n";
for (sort { lc $a->[0] cmp lc $b->[0] } @index) {
    $readme .= "$_->[0]: " . join(' ', @{ $_->[1] }) . "\n";
}
spew("$licenses/README.txt", crlf($readme));
