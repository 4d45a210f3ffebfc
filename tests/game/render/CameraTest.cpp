#include "game/render/Camera.h"
#include "game/render/VecFrustum.h"

#include <gtest/gtest.h>
#include <glm/geometric.hpp>

#include <cmath>

namespace {

constexpr float kPi = 3.14159265f;

glm::vec3 Apply(const glm::mat4& m, const glm::vec3& p)
{
    return glm::vec3(m * glm::vec4(p, 1.0f));
}

TEST(Camera, look_at_puts_the_target_straight_ahead_at_its_distance)
{
    struct Case {
        const char* name;
        glm::vec3 eyeWorld, targetWorld;
    };
    const Case cases[] = {
        {"along_plus_z", {0, 0, -10}, {0, 0, 0}},
        {"along_plus_x", {-5, 0, 0}, {5, 0, 0}},
        {"down_and_diagonal", {100, 60, -160}, {3, -2, 8}},
        {"up_and_back", {0, -40, 30}, {0, 20, -10}},
    };
    for (const Case& c : cases) {
        Camera camera;
        // The camera keeps both points negated.
        const glm::mat4 view = camera.LookAt(-c.eyeWorld, -c.targetWorld);
        const glm::vec3 seen = Apply(view, c.targetWorld);
        const float distance = glm::length(c.targetWorld - c.eyeWorld);
        EXPECT_NEAR(seen.x, 0.0f, 1e-3f) << c.name;
        EXPECT_NEAR(seen.y, 0.0f, 1e-3f) << c.name;
        EXPECT_NEAR(seen.z, distance, 1e-3f) << c.name;
        EXPECT_NEAR(glm::length(Apply(view, c.eyeWorld)), 0.0f, 1e-3f) << c.name;
        EXPECT_EQ(view, Camera::ViewMatrix(-c.eyeWorld, camera.yaw, camera.pitch)) << c.name;
    }
}

TEST(Camera, straight_down_has_a_quarter_turn_of_pitch_and_no_yaw_and_one_point_keeps_the_angles)
{
    Camera camera;
    camera.LookAt(-glm::vec3(0, 50, 0), glm::vec3(0));
    EXPECT_FLOAT_EQ(camera.yaw, 0.0f);
    EXPECT_FLOAT_EQ(camera.pitch, -kPi / 2);

    camera.LookAt(-glm::vec3(0, 0, -1), glm::vec3(0));
    const glm::mat4 same = camera.LookAt(glm::vec3(4, 5, 6), glm::vec3(4, 5, 6));
    EXPECT_EQ(camera.yaw, 0.0f);
    EXPECT_EQ(camera.pitch, 0.0f);
    EXPECT_FALSE(std::isnan(same[0][0]));
}

TEST(Camera, reset_moves_the_eye_and_clears_the_angles_but_keeps_target_and_matrix)
{
    Camera camera;
    camera.target = glm::vec3(1, 2, 3);
    camera.eye = glm::vec3(0, 0, 9);
    camera.LookAtTarget();
    const glm::mat4 looked = camera.matrix;
    camera.Reset();
    EXPECT_EQ(camera.eye, glm::vec3(1, 100, 1));
    EXPECT_EQ(camera.yaw, 0.0f);
    EXPECT_EQ(camera.target, glm::vec3(1, 2, 3));
    EXPECT_EQ(camera.matrix, looked);
    camera.UpdateMatrix();
    EXPECT_EQ(Apply(camera.matrix, -camera.eye), glm::vec3(0));
}

// A frustum looking along +z from the world point (0, 0, -10): 60° high,
// 4:3, from 1 to 100 units.
class VecFrustumTest : public ::testing::Test {
protected:
    void Build(const glm::vec3& direction) { frustum.Build(-eye, direction, glm::mat4(1.0f), kPi / 3, 4.0f / 3, 1, 100); }

    const glm::vec3 eye{0, 0, -10};
    VecFrustum frustum;
};

TEST_F(VecFrustumTest, points_inside_every_plane_pass_and_the_planes_themselves_count_as_inside)
{
    Build({0, 0, 1});
    const float halfHeight = std::tan(kPi / 6);  // at distance 1
    struct Case {
        const char* name;
        glm::vec3 offset;  // from the eye
        bool inside;
    };
    const Case cases[] = {
        {"straight_ahead", {0, 0, 50}, true},
        {"behind", {0, 0, -5}, false},
        {"before_the_near_plane", {0, 0, 0.5f}, false},
        {"on_the_near_plane", {0, 0, 1}, true},
        {"past_the_far_plane", {0, 0, 101}, false},
        {"just_inside_the_top", {0, 0.99f * halfHeight * 50, 50}, true},
        {"just_above_the_top", {0, 1.01f * halfHeight * 50, 50}, false},
        {"just_inside_the_side", {0.99f * halfHeight * 4 / 3 * 50, 0, 50}, true},
        {"just_past_the_other_side", {-1.01f * halfHeight * 4 / 3 * 50, 0, 50}, false},
        {"below", {0, -0.6f * 50, 50}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(frustum.TestPoint(eye + c.offset), c.inside) << c.name;
        EXPECT_EQ(frustum.TestSphere(eye + c.offset, 0.0f), c.inside) << c.name;
    }
}

TEST_F(VecFrustumTest, spheres_that_straddle_a_plane_count_as_inside)
{
    Build({0, 0, 1});
    EXPECT_TRUE(frustum.TestSphere(eye + glm::vec3(0, 0, 104), 5));
    EXPECT_FALSE(frustum.TestSphere(eye + glm::vec3(0, 0, 106), 5));
    EXPECT_TRUE(frustum.TestSphere(eye + glm::vec3(0, 35, 50), 10));
    EXPECT_FALSE(frustum.TestSphere(eye + glm::vec3(0, 60, 50), 10));
}

TEST_F(VecFrustumTest, a_longer_direction_moves_the_near_and_far_planes_out_with_it)
{
    Build({0, 0, 2});
    EXPECT_TRUE(frustum.TestPoint(eye + glm::vec3(0, 0, 150)));
    EXPECT_FALSE(frustum.TestPoint(eye + glm::vec3(0, 0, 1.5f)));
    Build({1, 0, 1});  // turned 45° to +x
    EXPECT_TRUE(frustum.TestPoint(eye + glm::vec3(30, 0, 30)));
    EXPECT_FALSE(frustum.TestPoint(eye + glm::vec3(-30, 0, 30)));
}

}  // namespace
