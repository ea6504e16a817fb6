#pragma once

/// Whether the tag editor could reach the record's file before handing it to the player.
enum class FileAccess { Reachable, Unreachable };
